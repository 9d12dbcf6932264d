// A remote CAPI server for tests of the real libcapi20 path: it speaks the
// "fritzbox" framing on 127.0.0.1 (an ephemeral port) in a thread of its own,
// assigns application ids, records what the library puts and delivers what the
// test injects. Every wait is bounded only to end a failing test.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace rufpilot {

class CapiTestserver {
public:
    using Bytes = std::vector<std::uint8_t>;
    static constexpr std::chrono::seconds kGrenze{10};

    CapiTestserver();
    ~CapiTestserver();
    CapiTestserver(const CapiTestserver&) = delete;
    CapiTestserver& operator=(const CapiTestserver&) = delete;

    int port() const { return port_; }

    // The next CAPI message the library put (register and release excluded).
    std::optional<Bytes> naechste(std::chrono::milliseconds grenze = kGrenze);
    std::size_t empfangen() const;
    // The register pseudo-message of the latest registration, once it came.
    std::optional<Bytes> registrierung(std::chrono::milliseconds grenze = kGrenze);
    bool freigabeAbwarten(std::chrono::milliseconds grenze = kGrenze);

    // Delivers a CAPI message to the latest registered application.
    void senden(const Bytes& nachricht);
    // Closes the latest registered application's connection.
    void trennen();

private:
    struct Kunde {
        int fd;
        Bytes puffer;
    };
    void laufen();
    void lesen(Kunde& k);
    void rahmen(Kunde& k, const Bytes& nachricht);

    int lauscher_ = -1;
    int weckenLesen_ = -1;
    int weckenSchreiben_ = -1;
    int port_ = 0;
    std::vector<Kunde> kunden_;  // owned by the server thread

    mutable std::mutex mutex_;
    std::condition_variable geaendert_;
    std::deque<Bytes> eingang_;
    std::size_t empfangen_ = 0;
    std::optional<Bytes> registrierung_;
    int angemeldet_ = -1;  // descriptor of the latest registered application
    int freigaben_ = 0;
    std::uint16_t naechsteApplId_ = 1;
    std::thread faden_;
};

}  // namespace rufpilot
