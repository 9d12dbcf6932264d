// A non-blocking TCP client socket (POSIX): connect without waiting, read what
// has arrived. TCP keep-alive with short intervals makes a peer that vanished
// without closing (router restarted, cable pulled) show up as a read error
// within about a minute and a half instead of the system's two hours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace rufpilot {

// Error codes besides errno values.
inline constexpr int kTcpNameUnbekannt = -1;  // the host name did not resolve
inline constexpr int kTcpGeschlossen = -2;    // the peer closed the connection

class TcpVerbindung {
public:
    enum class Zustand { Zu, Verbindet, Offen };

    TcpVerbindung() = default;
    ~TcpVerbindung() { schliessen(); }
    TcpVerbindung(const TcpVerbindung&) = delete;
    TcpVerbindung& operator=(const TcpVerbindung&) = delete;

    // Starts connecting. 0 = open or under way, otherwise an error code. A
    // host name is resolved by the system's resolver, which may block; an
    // address given as digits never does.
    int oeffnen(const std::string& host, std::uint16_t port);
    // While Verbindet: 0 = still under way or now open, otherwise the error.
    int pruefen();
    // Appends what has arrived, at most `hoechstens` bytes. 0 = fine (maybe
    // nothing), otherwise an error code (kTcpGeschlossen at the peer's close).
    int lesen(std::string& aus, std::size_t hoechstens);
    void schliessen();

    Zustand zustand() const { return zustand_; }
    // The socket for an event loop to watch; -1 when closed.
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    Zustand zustand_ = Zustand::Zu;
};

// A connection error in German words for the message list.
std::string TcpFehlerText(int fehler);

}  // namespace rufpilot
