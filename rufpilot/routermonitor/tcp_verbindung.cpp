#include "rufpilot/routermonitor/tcp_verbindung.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rufpilot {

namespace {

void keepAlive(int fd) {
    const int an = 1, leerlauf = 60, abstand = 10, proben = 3;
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &an, sizeof an);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &leerlauf, sizeof leerlauf);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &abstand, sizeof abstand);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &proben, sizeof proben);
}

}  // namespace

int TcpVerbindung::oeffnen(const std::string& host, std::uint16_t port) {
    schliessen();
    const std::vector<Netzadresse> numerisch = numerischeAdresse(host, port);
    if (!numerisch.empty()) return verbinden(numerisch.front());
    aufloeser_->anfragen(host, port);
    loestAuf_ = true;
    zustand_ = Zustand::Verbindet;
    return 0;
}

int TcpVerbindung::verbinden(const Netzadresse& ziel) {
    fd_ = ::socket(ziel.familie, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return errno;
    keepAlive(fd_);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&ziel.adresse), ziel.laenge) == 0) {
        zustand_ = Zustand::Offen;
        return 0;
    }
    const int fehler = errno;
    if (fehler != EINPROGRESS) {
        schliessen();
        return fehler;
    }
    zustand_ = Zustand::Verbindet;
    return 0;
}

int TcpVerbindung::pruefen() {
    if (zustand_ != Zustand::Verbindet) return 0;
    if (loestAuf_) {
        std::vector<Netzadresse> adressen;
        switch (aufloeser_->stand(adressen)) {
            case Namensaufloeser::Stand::Laeuft: return 0;
            case Namensaufloeser::Stand::Unbekannt: schliessen(); return kTcpNameUnbekannt;
            case Namensaufloeser::Stand::KeineAntwort: schliessen(); return kTcpNameOhneAntwort;
            case Namensaufloeser::Stand::Fertig: break;
        }
        loestAuf_ = false;
        return verbinden(adressen.front());
    }
    // Once connected the socket has a peer; until then SO_ERROR holds a failure.
    sockaddr_storage adresse{};
    socklen_t laenge = sizeof adresse;
    if (::getpeername(fd_, reinterpret_cast<sockaddr*>(&adresse), &laenge) == 0) {
        zustand_ = Zustand::Offen;
        return 0;
    }
    int fehler = 0;
    socklen_t groesse = sizeof fehler;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &fehler, &groesse) != 0) fehler = errno;
    if (fehler == 0) return 0;  // still under way
    schliessen();
    return fehler;
}

int TcpVerbindung::lesen(std::string& aus, std::size_t hoechstens) {
    if (zustand_ != Zustand::Offen) return ENOTCONN;
    char puffer[4096];
    std::size_t gelesen = 0;
    while (gelesen < hoechstens) {
        const ssize_t n = ::recv(fd_, puffer, std::min(sizeof puffer, hoechstens - gelesen), 0);
        if (n > 0) {
            aus.append(puffer, static_cast<std::size_t>(n));
            gelesen += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) return kTcpGeschlossen;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return errno;
    }
    return 0;
}

void TcpVerbindung::schliessen() {
    if (loestAuf_) aufloeser_->abbrechen();
    loestAuf_ = false;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    zustand_ = Zustand::Zu;
}

std::string TcpFehlerText(int fehler) {
    switch (fehler) {
        case kTcpNameUnbekannt: return "Name nicht auflösbar";
        case kTcpGeschlossen: return "von der Gegenseite geschlossen";
        case kTcpNameOhneAntwort: return "Namensauflösung ohne Antwort";
        case ECONNREFUSED: return "Verbindung abgelehnt";
        case ETIMEDOUT: return "Zeitüberschreitung";
        case ECONNRESET: return "Verbindung zurückgesetzt";
        case EHOSTUNREACH:
        case ENETUNREACH: return "Ziel nicht erreichbar";
        default: return "Fehler " + std::to_string(fehler);
    }
}

}  // namespace rufpilot
