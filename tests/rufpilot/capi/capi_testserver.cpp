#include "capi_testserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace rufpilot {

namespace {

void AllesSchreiben(int fd, const std::uint8_t* daten, std::size_t n) {
    while (n > 0) {
        const ssize_t k = ::send(fd, daten, n, MSG_NOSIGNAL);
        if (k <= 0) return;  // the client is gone; the test sees that elsewhere
        daten += k;
        n -= static_cast<std::size_t>(k);
    }
}

}  // namespace

CapiTestserver::CapiTestserver() {
    lauscher_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in adresse{};
    adresse.sin_family = AF_INET;
    adresse.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    adresse.sin_port = 0;
    socklen_t laenge = sizeof adresse;
    int weckrohr[2];
    if (lauscher_ < 0 || ::bind(lauscher_, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse) != 0 ||
        ::listen(lauscher_, 8) != 0 || ::getsockname(lauscher_, reinterpret_cast<sockaddr*>(&adresse), &laenge) != 0 ||
        ::pipe(weckrohr) != 0) {
        throw std::runtime_error("Testserver: kein Port");
    }
    port_ = ntohs(adresse.sin_port);
    weckenLesen_ = weckrohr[0];
    weckenSchreiben_ = weckrohr[1];
    faden_ = std::thread([this] { laufen(); });
}

CapiTestserver::~CapiTestserver() {
    const char x = 0;
    (void)!::write(weckenSchreiben_, &x, 1);
    faden_.join();
    for (const auto& k : kunden_) ::close(k.fd);
    ::close(lauscher_);
    ::close(weckenLesen_);
    ::close(weckenSchreiben_);
}

void CapiTestserver::laufen() {
    for (;;) {
        std::vector<pollfd> fds{{weckenLesen_, POLLIN, 0}, {lauscher_, POLLIN, 0}};
        for (const auto& k : kunden_) fds.push_back({k.fd, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) continue;
        if (fds[0].revents) return;
        if (fds[1].revents & POLLIN) {
            const int fd = ::accept(lauscher_, nullptr, nullptr);
            if (fd >= 0) kunden_.push_back({fd, {}});
        }
        // Walk backwards: lesen() may drop a closed client.
        for (std::size_t i = fds.size(); i-- > 2;) {
            if (fds[i].revents) lesen(kunden_[i - 2]);
        }
    }
}

void CapiTestserver::lesen(Kunde& k) {
    std::uint8_t daten[4096];
    const ssize_t n = ::recv(k.fd, daten, sizeof daten, 0);
    if (n <= 0) {
        const int fd = k.fd;
        ::close(fd);
        std::erase_if(kunden_, [fd](const Kunde& x) { return x.fd == fd; });
        std::lock_guard lock(mutex_);
        if (angemeldet_ == fd) angemeldet_ = -1;
        geaendert_.notify_all();
        return;
    }
    k.puffer.insert(k.puffer.end(), daten, daten + n);
    // Frames: 0x80, LE16 n, then an n-byte CAPI message.
    while (k.puffer.size() >= 3) {
        const std::size_t laenge = k.puffer[1] | (k.puffer[2] << 8);
        if (k.puffer.size() < 3 + laenge) break;
        const Bytes nachricht(k.puffer.begin() + 3, k.puffer.begin() + 3 + static_cast<std::ptrdiff_t>(laenge));
        k.puffer.erase(k.puffer.begin(), k.puffer.begin() + 3 + static_cast<std::ptrdiff_t>(laenge));
        rahmen(k, nachricht);
    }
}

void CapiTestserver::rahmen(Kunde& k, const Bytes& nachricht) {
    const bool verwaltung = nachricht.size() >= 14 && nachricht[4] == 0x20 && nachricht[5] == 0x80;
    std::lock_guard lock(mutex_);
    if (verwaltung && nachricht[10] == 0x09) {
        // Register: [any, n] and an n-byte reply carrying the ApplID and Info 0.
        Bytes antwort{0x00, 20, 0x14, 0x00, 0, 0, 0x20, 0x81, 0x01, 0x00};
        antwort.resize(22, 0);
        antwort[4] = static_cast<std::uint8_t>(naechsteApplId_);
        antwort[5] = static_cast<std::uint8_t>(naechsteApplId_ >> 8);
        ++naechsteApplId_;
        AllesSchreiben(k.fd, antwort.data(), antwort.size());
        registrierung_ = nachricht;
        angemeldet_ = k.fd;
    } else if (verwaltung && nachricht[10] == 0x03) {
        ++freigaben_;
    } else if (!verwaltung) {
        eingang_.push_back(nachricht);
        ++empfangen_;
    }
    geaendert_.notify_all();
}

std::optional<CapiTestserver::Bytes> CapiTestserver::naechste(std::chrono::milliseconds grenze) {
    std::unique_lock lock(mutex_);
    if (!geaendert_.wait_for(lock, grenze, [this] { return !eingang_.empty(); })) return std::nullopt;
    Bytes n = std::move(eingang_.front());
    eingang_.pop_front();
    return n;
}

std::size_t CapiTestserver::empfangen() const {
    std::lock_guard lock(mutex_);
    return empfangen_;
}

std::optional<CapiTestserver::Bytes> CapiTestserver::registrierung(std::chrono::milliseconds grenze) {
    std::unique_lock lock(mutex_);
    geaendert_.wait_for(lock, grenze, [this] { return registrierung_.has_value(); });
    return registrierung_;
}

bool CapiTestserver::freigabeAbwarten(std::chrono::milliseconds grenze) {
    std::unique_lock lock(mutex_);
    return geaendert_.wait_for(lock, grenze, [this] { return freigaben_ > 0; });
}

void CapiTestserver::senden(const Bytes& nachricht) {
    Bytes rahmen{0x00, static_cast<std::uint8_t>(nachricht.size()), static_cast<std::uint8_t>(nachricht.size() >> 8)};
    rahmen.insert(rahmen.end(), nachricht.begin(), nachricht.end());
    std::lock_guard lock(mutex_);
    if (angemeldet_ >= 0) AllesSchreiben(angemeldet_, rahmen.data(), rahmen.size());
}

void CapiTestserver::trennen() {
    std::lock_guard lock(mutex_);
    // Shutting down (not closing) keeps the descriptor the server thread polls valid.
    if (angemeldet_ >= 0) ::shutdown(angemeldet_, SHUT_RDWR);
}

}  // namespace rufpilot
