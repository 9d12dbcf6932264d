// A non-blocking TCP client socket (POSIX): connect without waiting, read what
// has arrived. TCP keep-alive with short intervals makes a peer that vanished
// without closing (router restarted, cable pulled) show up as a read error
// within about a minute and a half instead of the system's two hours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "rufpilot/routermonitor/namensaufloeser.h"

namespace rufpilot {

// Error codes besides errno values.
inline constexpr int kTcpNameUnbekannt = -1;  // the host name did not resolve
inline constexpr int kTcpGeschlossen = -2;    // the peer closed the connection
inline constexpr int kTcpNameOhneAntwort = -3;  // the resolver did not answer in time

class TcpVerbindung {
public:
    enum class Zustand { Zu, Verbindet, Offen };

    // Host names are resolved by `aufloeser` while the loop goes on.
    explicit TcpVerbindung(std::shared_ptr<Namensaufloeser> aufloeser = std::make_shared<SystemAufloeser>())
        : aufloeser_(std::move(aufloeser)) {}
    ~TcpVerbindung() { schliessen(); }
    TcpVerbindung(const TcpVerbindung&) = delete;
    TcpVerbindung& operator=(const TcpVerbindung&) = delete;

    // Starts connecting. 0 = open or under way, otherwise an error code. An
    // address given as digits is connected at once; a host name is resolved
    // first (Verbindet, with no socket yet), never blocking the caller.
    int oeffnen(const std::string& host, std::uint16_t port);
    // While Verbindet: 0 = still under way or now open, otherwise the error.
    int pruefen();
    // Whether the host name is still being resolved.
    bool loestAuf() const { return loestAuf_; }
    // Appends what has arrived, at most `hoechstens` bytes. 0 = fine (maybe
    // nothing), otherwise an error code (kTcpGeschlossen at the peer's close).
    int lesen(std::string& aus, std::size_t hoechstens);
    void schliessen();

    Zustand zustand() const { return zustand_; }
    // The socket for an event loop to watch; -1 when closed.
    int fd() const { return fd_; }

private:
    int verbinden(const Netzadresse& ziel);

    std::shared_ptr<Namensaufloeser> aufloeser_;
    bool loestAuf_ = false;
    int fd_ = -1;
    Zustand zustand_ = Zustand::Zu;
};

// A connection error in German words for the message list.
std::string TcpFehlerText(int fehler);

}  // namespace rufpilot
