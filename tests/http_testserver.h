// A minimal HTTP/1.1 server for tests of the webhook: on a free port of
// 127.0.0.1, one thread per connection, keep-alive, bodies by Content-Length.
// It records every request, answers with the status the test chooses per
// request, and can hold its answers until the test releases them, so a test
// synchronises on what arrived instead of on time. Stopping closes every
// connection, as a crashed server would.
#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "mqtt_testbroker.h"

namespace tonwerk::testhilfe {

class HttpTestServer {
public:
    struct Anfrage {
        std::string methode;
        std::string pfad;
        std::map<std::string, std::string> kopf;  // names in lower case
        std::string koerper;
    };

    // Port 0: a free one.
    explicit HttpTestServer(int port = 0) : port_(port ? port : freierPort()) { starten(); }
    ~HttpTestServer() { stoppen(); }
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const { return port_; }
    std::string url(const std::string& pfad = "/alarm") const {
        return "http://127.0.0.1:" + std::to_string(port_) + pfad;
    }

    // The status for the n-th request (counted from 0 over the server's life); 200 when unset.
    void antworten(std::function<int(std::size_t n)> status) {
        std::lock_guard l(mutex_);
        status_ = std::move(status);
    }
    // While held, requests are recorded but not answered.
    void zurueckhalten() {
        std::lock_guard l(mutex_);
        halten_ = true;
    }
    void freigeben() {
        {
            std::lock_guard l(mutex_);
            halten_ = false;
        }
        cv_.notify_all();
    }
    // Answers arrive this many milliseconds after their request (for measurements).
    void verzoegern(int ms) {
        std::lock_guard l(mutex_);
        verzoegerungMs_ = ms;
    }
    // True once `n` requests have arrived.
    bool warteAufAnfragen(std::size_t n) {
        std::unique_lock l(mutex_);
        return cv_.wait_for(l, grosszuegig, [&] { return anfragen_.size() >= n; });
    }
    std::vector<Anfrage> anfragen() {
        std::lock_guard l(mutex_);
        return anfragen_;
    }
    // Bodies of the requests answered with 2xx, in order.
    std::vector<std::string> angenommen() {
        std::lock_guard l(mutex_);
        return angenommen_;
    }

    void starten() {
        if (lauscher_ >= 0) return;
        lauscher_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int ja = 1;
        ::setsockopt(lauscher_, SOL_SOCKET, SO_REUSEADDR, &ja, sizeof ja);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(static_cast<std::uint16_t>(port_));
        if (::bind(lauscher_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(lauscher_, 16) != 0)
            throw std::runtime_error("HTTP-Testserver: Port " + std::to_string(port_) + " belegt");
        if (::pipe(wecker_) != 0) throw std::runtime_error("HTTP-Testserver: pipe");
        {
            std::lock_guard l(mutex_);
            aus_ = false;
        }
        annehmer_ = std::thread([this] { annehmen(); });
    }
    void stoppen() {
        if (lauscher_ < 0) return;
        {
            std::lock_guard l(mutex_);
            aus_ = true;
            for (int s : verbindungen_) ::shutdown(s, SHUT_RDWR);
        }
        cv_.notify_all();
        const char x = 0;
        [[maybe_unused]] const auto n = ::write(wecker_[1], &x, 1);
        annehmer_.join();
        for (auto& t : bediener_) t.join();
        bediener_.clear();
        ::close(lauscher_);
        ::close(wecker_[0]);
        ::close(wecker_[1]);
        lauscher_ = -1;
    }

private:
    int port_;
    int lauscher_ = -1;
    int wecker_[2] = {-1, -1};
    std::thread annehmer_;
    std::vector<std::thread> bediener_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool aus_ = false;
    bool halten_ = false;
    int verzoegerungMs_ = 0;
    std::function<int(std::size_t)> status_;
    std::vector<int> verbindungen_;
    std::vector<Anfrage> anfragen_;
    std::vector<std::string> angenommen_;

    void annehmen() {
        for (;;) {
            pollfd p[2] = {{lauscher_, POLLIN, 0}, {wecker_[0], POLLIN, 0}};
            ::poll(p, 2, -1);
            if (p[1].revents) return;
            const int s = ::accept(lauscher_, nullptr, nullptr);
            if (s < 0) continue;
            std::lock_guard l(mutex_);
            if (aus_) {
                ::close(s);
                return;
            }
            verbindungen_.push_back(s);
            bediener_.emplace_back([this, s] { bedienen(s); });
        }
    }

    void bedienen(int s) {
        std::string puffer;
        char block[4096];
        for (;;) {
            std::size_t ende;
            while ((ende = puffer.find("\r\n\r\n")) == std::string::npos) {
                const auto n = ::recv(s, block, sizeof block, 0);
                if (n <= 0) return schliessen(s);
                puffer.append(block, static_cast<std::size_t>(n));
            }
            Anfrage a;
            std::size_t zeile = puffer.find("\r\n");
            const std::string erste = puffer.substr(0, zeile);
            a.methode = erste.substr(0, erste.find(' '));
            a.pfad = erste.substr(a.methode.size() + 1, erste.rfind(' ') - a.methode.size() - 1);
            while (zeile < ende) {
                const std::size_t naechste = puffer.find("\r\n", zeile + 2);
                const std::string z = puffer.substr(zeile + 2, naechste - zeile - 2);
                if (const auto d = z.find(':'); d != std::string::npos) {
                    std::string name = z.substr(0, d);
                    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
                    a.kopf[name] = z.substr(z.find_first_not_of(' ', d + 1));
                }
                zeile = naechste;
            }
            const std::size_t laenge = a.kopf.count("content-length") ? std::stoul(a.kopf["content-length"]) : 0;
            puffer.erase(0, ende + 4);
            while (puffer.size() < laenge) {
                const auto n = ::recv(s, block, sizeof block, 0);
                if (n <= 0) return schliessen(s);
                puffer.append(block, static_cast<std::size_t>(n));
            }
            a.koerper = puffer.substr(0, laenge);
            puffer.erase(0, laenge);

            int status = 200;
            int verzoegerung = 0;
            bool aus = false;
            {
                std::unique_lock l(mutex_);
                const std::size_t nummer = anfragen_.size();
                anfragen_.push_back(a);
                cv_.notify_all();
                cv_.wait(l, [&] { return !halten_ || aus_; });
                aus = aus_;
                if (!aus) {
                    if (status_) status = status_(nummer);
                    if (status >= 200 && status < 300) angenommen_.push_back(a.koerper);
                    verzoegerung = verzoegerungMs_;
                }
            }
            if (aus) return schliessen(s);
            if (verzoegerung > 0) std::this_thread::sleep_for(std::chrono::milliseconds(verzoegerung));
            const std::string antwort =
                "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: 2\r\nContent-Type: text/plain\r\n\r\nok";
            if (::send(s, antwort.data(), antwort.size(), MSG_NOSIGNAL) < 0) return schliessen(s);
        }
    }

    void schliessen(int s) {
        std::lock_guard l(mutex_);
        verbindungen_.erase(std::remove(verbindungen_.begin(), verbindungen_.end(), s), verbindungen_.end());
        ::close(s);
    }
};

}  // namespace tonwerk::testhilfe
