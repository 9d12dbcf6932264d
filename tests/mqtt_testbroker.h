// A real mosquitto broker for tests, on a free port of 127.0.0.1 with its
// configuration in a private temporary directory, and a subscriber that
// collects what the broker delivers. Waits are on what broker and subscriber
// did, each with a generous upper bound.
#pragma once

#include <fcntl.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tonwerk::testhilfe {

inline constexpr auto grosszuegig = std::chrono::seconds(20);

inline int freierPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) != 0) {
        ::close(s);
        throw std::runtime_error("kein freier Port");
    }
    ::close(s);
    return ntohs(a.sin_port);
}

inline bool nimmtVerbindungenAn(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

class TestBroker {
public:
    // With `benutzer`, only that user with `passwort` may connect; `zusatz` is
    // appended to the configuration (e.g. a second listener).
    explicit TestBroker(std::string benutzer = "", std::string passwort = "", int port = 0,
                        const std::string& zusatz = "")
        : verzeichnis_(std::filesystem::temp_directory_path() /
                       ("tonwerk_mqtt_" + std::to_string(::getpid()) + "_" + std::to_string(zaehler()++))),
          port_(port ? port : freierPort()) {
        std::filesystem::create_directories(verzeichnis_);
        std::ofstream conf(verzeichnis_ / "mosquitto.conf");
        conf << "listener " << port_ << " 127.0.0.1\npersistence false\nlog_dest none\n";
        if (::geteuid() == 0) conf << "user root\n";
        if (benutzer.empty()) {
            conf << "allow_anonymous true\n";
        } else {
            const auto datei = verzeichnis_ / "passwd";
            const std::string befehl = "mosquitto_passwd -b -c '" + datei.string() + "' '" + benutzer + "' '" +
                                       passwort + "' >/dev/null 2>&1";
            if (std::system(befehl.c_str()) != 0) throw std::runtime_error("mosquitto_passwd schlägt fehl");
            conf << "allow_anonymous false\npassword_file " << datei.string() << "\n";
        }
        conf << zusatz;
        conf.close();
        starten();
    }
    ~TestBroker() {
        stoppen();
        std::error_code egal;
        std::filesystem::remove_all(verzeichnis_, egal);
    }
    TestBroker(const TestBroker&) = delete;
    TestBroker& operator=(const TestBroker&) = delete;

    int port() const { return port_; }
    const std::filesystem::path& verzeichnis() const { return verzeichnis_; }
    // Adds or changes an account of a broker started with one, restarting it
    // when it runs (mosquitto reads its password file at start).
    void passwortSetzen(const std::string& benutzer, const std::string& passwort) {
        const std::string befehl = "mosquitto_passwd -b '" + (verzeichnis_ / "passwd").string() + "' '" + benutzer +
                                   "' '" + passwort + "' >/dev/null 2>&1";
        if (std::system(befehl.c_str()) != 0) throw std::runtime_error("mosquitto_passwd schlägt fehl");
        if (pid_ > 0) {
            stoppen();
            starten();
        }
    }
    std::string url(const std::string& praefix) const {
        return "mqtt://127.0.0.1:" + std::to_string(port_) + "/" + praefix;
    }

    // Starts the broker and returns once it accepts connections.
    void starten() {
        if (pid_ > 0) return;
        const std::string conf = (verzeichnis_ / "mosquitto.conf").string();
        pid_ = ::fork();
        if (pid_ == 0) {
            // Its complaints (running as root) are no test output.
            const int nichts = ::open("/dev/null", O_WRONLY);
            ::dup2(nichts, STDERR_FILENO);
            ::execlp("mosquitto", "mosquitto", "-c", conf.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto grenze = std::chrono::steady_clock::now() + grosszuegig;
        while (!nimmtVerbindungenAn(port_)) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                throw std::runtime_error("mosquitto endet beim Start (Port " + std::to_string(port_) + ")");
            }
            if (std::chrono::steady_clock::now() > grenze) throw std::runtime_error("mosquitto startet nicht");
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    // Stops the broker (SIGTERM: orderly; SIGKILL: as in a crash, after
    // anhalten() with whatever it had not read yet) and waits until it has gone.
    void stoppen(int signal = SIGTERM) {
        if (pid_ <= 0) return;
        if (signal != SIGKILL) ::kill(pid_, SIGCONT);  // a frozen broker must run to end in order
        ::kill(pid_, signal);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    // Freezes the broker, returning once it has stopped: what clients send from
    // now on stays unread and unacknowledged.
    void anhalten() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGSTOP);
        int status = 0;
        ::waitpid(pid_, &status, WUNTRACED);
    }

private:
    static int& zaehler() {
        static int n = 0;
        return n;
    }
    std::filesystem::path verzeichnis_;
    int port_;
    pid_t pid_ = -1;
};

// Subscribes to everything below `filter` (QoS 1) on its own library thread and
// subscribes again after every reconnect.
class TestAbonnent {
public:
    struct Nachricht {
        std::string thema;
        std::string nutzlast;
        bool behalten;
    };

    TestAbonnent(int port, std::string filter, const std::string& benutzer = "", const std::string& passwort = "")
        : filter_(std::move(filter)) {
        mosquitto_lib_init();
        m_ = mosquitto_new(nullptr, true, this);
        if (!benutzer.empty()) mosquitto_username_pw_set(m_, benutzer.c_str(), passwort.c_str());
        mosquitto_connect_callback_set(m_, [](mosquitto* m, void* s, int rc) {
            if (rc == 0) mosquitto_subscribe(m, nullptr, static_cast<TestAbonnent*>(s)->filter_.c_str(), 1);
        });
        mosquitto_subscribe_callback_set(m_, [](mosquitto*, void* s, int, int, const int*) {
            auto& a = *static_cast<TestAbonnent*>(s);
            std::lock_guard l(a.mutex_);
            ++a.abos_;
            a.cv_.notify_all();
        });
        mosquitto_message_callback_set(m_, [](mosquitto*, void* s, const mosquitto_message* n) {
            auto& a = *static_cast<TestAbonnent*>(s);
            std::lock_guard l(a.mutex_);
            a.nachrichten_.push_back(
                {n->topic, std::string(static_cast<const char*>(n->payload), static_cast<std::size_t>(n->payloadlen)),
                 n->retain});
            a.cv_.notify_all();
        });
        mosquitto_reconnect_delay_set(m_, 1, 1, false);
        if (mosquitto_connect(m_, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS) throw std::runtime_error("Abonnent");
        mosquitto_loop_start(m_);
        if (!warteAufAbos(1)) throw std::runtime_error("Abonnent abonniert nicht");
    }
    ~TestAbonnent() {
        mosquitto_disconnect(m_);
        mosquitto_loop_stop(m_, true);
        mosquitto_destroy(m_);
    }

    // True once the subscription has been confirmed `n` times (once per connection).
    bool warteAufAbos(int n) {
        std::unique_lock l(mutex_);
        return cv_.wait_for(l, grosszuegig, [&] { return abos_ >= n; });
    }
    // True once `n` messages satisfying `passt` arrived.
    template <typename Bedingung>
    bool warteAuf(std::size_t n, Bedingung passt) {
        std::unique_lock l(mutex_);
        return cv_.wait_for(l, grosszuegig, [&] {
            std::size_t k = 0;
            for (const auto& m : nachrichten_) k += passt(m) ? 1 : 0;
            return k >= n;
        });
    }
    std::vector<Nachricht> nachrichten() {
        std::lock_guard l(mutex_);
        return nachrichten_;
    }

private:
    std::string filter_;
    mosquitto* m_ = nullptr;
    std::mutex mutex_;
    std::condition_variable cv_;
    int abos_ = 0;
    std::vector<Nachricht> nachrichten_;
};

}  // namespace tonwerk::testhilfe
