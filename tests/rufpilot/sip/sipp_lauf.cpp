#include "sipp_lauf.h"

#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace rufpilot::test {

namespace {

constexpr int kPortBelegt = 254;

int Gebunden(int typ, std::uint16_t port) {
    const int s = ::socket(AF_INET, typ, 0);
    if (s < 0) return -1;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

// A port free for UDP and TCP right now.
std::uint16_t FreierPort() {
    for (int versuch = 0; versuch < 50; ++versuch) {
        const int u = Gebunden(SOCK_DGRAM, 0);
        if (u < 0) continue;
        sockaddr_in a{};
        socklen_t l = sizeof a;
        ::getsockname(u, reinterpret_cast<sockaddr*>(&a), &l);
        const std::uint16_t port = ntohs(a.sin_port);
        const int t = Gebunden(SOCK_STREAM, port);
        ::close(u);
        if (t >= 0) {
            ::close(t);
            return port;
        }
    }
    throw std::runtime_error("kein freier Port");
}

std::string Lesen(const std::filesystem::path& p) {
    std::ifstream d(p);
    std::stringstream s;
    s << d.rdbuf();
    return s.str();
}

}  // namespace

SippLauf::SippLauf(const std::string& szenario, std::vector<std::string> argumente) {
    std::string muster = (std::filesystem::temp_directory_path() / "rufpilot-sipp-XXXXXX").string();
    if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp");
    verzeichnis_ = muster;
    // Another program may take the chosen port between our check and SIPp's bind.
    for (int versuch = 0; versuch < 10; ++versuch) {
        if (starten(szenario, argumente)) return;
    }
    throw std::runtime_error("SIPp startet nicht: " + protokoll());
}

bool SippLauf::starten(const std::string& szenario, const std::vector<std::string>& argumente) {
    port_ = FreierPort();
    std::vector<std::string> a{"sipp", "-sf", std::string(RUFPILOT_SIP_SZENARIEN) + "/" + szenario,
                               "-i", "127.0.0.1", "-p", std::to_string(port_), "-nostdin",
                               "-timeout", "60s", "-timeout_error", "-trace_err", "-error_file",
                               (verzeichnis_ / "fehler.log").string(), "-trace_msg", "-message_file",
                               (verzeichnis_ / "nachrichten.log").string()};
    // One call unless the test says otherwise.
    if (std::find(argumente.begin(), argumente.end(), "-m") == argumente.end()) a.insert(a.end(), {"-m", "1"});
    a.insert(a.end(), argumente.begin(), argumente.end());
    std::vector<char*> argv;
    for (auto& s : a) argv.push_back(s.data());
    argv.push_back(nullptr);
    const std::string ausgabe = (verzeichnis_ / "ausgabe.txt").string();
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        if (::chdir(verzeichnis_.c_str()) != 0) ::_exit(126);
        const int fd = ::open(ausgabe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        ::execvp("sipp", argv.data());
        ::_exit(127);
    }
    // Ready once SIPp holds its port; gone with 254 when someone else took it.
    const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < ende) {
        if (!laeuft()) {
            if (ergebnis_ == kPortBelegt) return false;
            throw std::runtime_error("SIPp endete beim Start mit " + std::to_string(ergebnis_) + ": " + protokoll());
        }
        if (portBelegt()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    throw std::runtime_error("SIPp belegt seinen Port nicht");
}

bool SippLauf::portBelegt() const {
    const int s = Gebunden(SOCK_DGRAM, port_);
    if (s < 0) return true;
    ::close(s);
    return false;
}

bool SippLauf::laeuft() {
    if (pid_ <= 0) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        ergebnis_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
        return false;
    }
    return true;
}

int SippLauf::warten(const std::function<void()>& pumpe, std::chrono::seconds grenze) {
    const auto ende = std::chrono::steady_clock::now() + grenze;
    while (laeuft()) {
        if (std::chrono::steady_clock::now() > ende) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
        if (pumpe) pumpe();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return ergebnis_;
}

std::string SippLauf::protokoll() const {
    return Lesen(verzeichnis_ / "fehler.log") +
           "\n--- Nachrichten ---\n" + Lesen(verzeichnis_ / "nachrichten.log");
}

SippLauf::~SippLauf() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    std::error_code egal;
    std::filesystem::remove_all(verzeichnis_, egal);
}

}  // namespace rufpilot::test
