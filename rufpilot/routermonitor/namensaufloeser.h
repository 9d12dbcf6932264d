// Resolving a host name without blocking the gateway's one thread: with DNS
// down, getaddrinfo waits for as long as the system's resolver retries, and
// every timer, wait and window event would stand still meanwhile. The request
// runs on a thread of its own; the loop polls for the result, and a request
// that takes longer than its limit counts as failed. An abandoned request is
// left to finish on its own (the system call cannot be interrupted); its
// result is dropped.
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rufpilot {

struct Netzadresse {
    sockaddr_storage adresse{};
    socklen_t laenge = 0;
    int familie = 0;
};

class Namensaufloeser {
public:
    enum class Stand { Laeuft, Fertig, Unbekannt, KeineAntwort };

    virtual ~Namensaufloeser() = default;
    // Starts resolving `host` for a TCP connection to `port`; a request still
    // running is abandoned.
    virtual void anfragen(const std::string& host, std::uint16_t port) = 0;
    // Where the latest request stands; with Fertig, `adressen` holds the result.
    virtual Stand stand(std::vector<Netzadresse>& adressen) = 0;
    // Abandons the running request.
    virtual void abbrechen() = 0;
};

// The system's resolver (getaddrinfo, so /etc/hosts and resolv.conf apply).
class SystemAufloeser : public Namensaufloeser {
public:
    explicit SystemAufloeser(std::chrono::milliseconds grenze = std::chrono::seconds(5)) : grenze_(grenze) {}
    ~SystemAufloeser() override { abbrechen(); }

    void anfragen(const std::string& host, std::uint16_t port) override;
    Stand stand(std::vector<Netzadresse>& adressen) override;
    void abbrechen() override { laufend_.reset(); }

    struct Anfrage;  // shared with the request's thread

private:
    std::chrono::milliseconds grenze_;
    std::chrono::steady_clock::time_point beginn_{};
    std::shared_ptr<Anfrage> laufend_;
};

// A numeric address (IPv4 or IPv6) at once, without asking any resolver;
// empty when `host` is a name.
std::vector<Netzadresse> numerischeAdresse(const std::string& host, std::uint16_t port);

}  // namespace rufpilot
