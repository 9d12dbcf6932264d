#include "rufpilot/demo/monitor_gegenstelle.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace rufpilot {

namespace {

[[noreturn]] void fehler(const char* was) { throw std::system_error(errno, std::generic_category(), was); }

}  // namespace

MonitorGegenstelle::MonitorGegenstelle(std::uint16_t port) {
    lauscher_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (lauscher_ < 0) fehler("socket");
    const int an = 1;
    ::setsockopt(lauscher_, SOL_SOCKET, SO_REUSEADDR, &an, sizeof an);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_port = htons(port);
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t laenge = sizeof adresse;
    if (::bind(lauscher_, reinterpret_cast<sockaddr*>(&adresse), laenge) != 0 || ::listen(lauscher_, 4) != 0 ||
        ::getsockname(lauscher_, reinterpret_cast<sockaddr*>(&adresse), &laenge) != 0) {
        const int e = errno;
        schliessen();
        errno = e;
        fehler("Anrufmonitor-Gegenstelle 127.0.0.1");
    }
    port_ = ntohs(adresse.sin_port);
}

MonitorGegenstelle::~MonitorGegenstelle() { schliessen(); }

void MonitorGegenstelle::annehmen(int fristMs) {
    trennen();
    pollfd p{lauscher_, POLLIN, 0};
    if (lauscher_ < 0 || ::poll(&p, 1, fristMs) != 1) throw std::runtime_error("Anrufmonitor-Gegenstelle: niemand verbindet sich");
    verbindung_ = ::accept4(lauscher_, nullptr, nullptr, SOCK_CLOEXEC);
    if (verbindung_ < 0) fehler("accept");
}

void MonitorGegenstelle::schreiben(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::send(verbindung_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            fehler("Anrufmonitor-Gegenstelle: schreiben");
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void MonitorGegenstelle::trennen() {
    if (verbindung_ >= 0) ::close(verbindung_);
    verbindung_ = -1;
}

void MonitorGegenstelle::lauschenBeenden() {
    if (lauscher_ >= 0) ::close(lauscher_);
    lauscher_ = -1;
}

void MonitorGegenstelle::schliessen() {
    trennen();
    lauschenBeenden();
}

}  // namespace rufpilot
