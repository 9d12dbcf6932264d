#include "rufpilot/routermonitor/namensaufloeser.h"

#include <netdb.h>

#include <cstring>
#include <mutex>
#include <thread>

namespace rufpilot {

struct SystemAufloeser::Anfrage {
    std::mutex mutex;
    bool fertig = false;        // guarded by mutex
    std::vector<Netzadresse> adressen;  // guarded by mutex
};

namespace {

std::vector<Netzadresse> aufloesen(const std::string& host, std::uint16_t port, int zusatz) {
    addrinfo wunsch{};
    wunsch.ai_family = AF_UNSPEC;
    wunsch.ai_socktype = SOCK_STREAM;
    wunsch.ai_flags = zusatz;
    addrinfo* liste = nullptr;
    const std::string dienst = std::to_string(port);
    std::vector<Netzadresse> adressen;
    if (::getaddrinfo(host.c_str(), dienst.c_str(), &wunsch, &liste) != 0) return adressen;
    for (const addrinfo* a = liste; a != nullptr; a = a->ai_next) {
        if (a->ai_addrlen > sizeof(sockaddr_storage)) continue;
        Netzadresse n;
        std::memcpy(&n.adresse, a->ai_addr, a->ai_addrlen);
        n.laenge = a->ai_addrlen;
        n.familie = a->ai_family;
        adressen.push_back(n);
    }
    ::freeaddrinfo(liste);
    return adressen;
}

}  // namespace

std::vector<Netzadresse> numerischeAdresse(const std::string& host, std::uint16_t port) {
    return aufloesen(host, port, AI_NUMERICHOST);
}

void SystemAufloeser::anfragen(const std::string& host, std::uint16_t port) {
    auto anfrage = std::make_shared<Anfrage>();
    laufend_ = anfrage;
    beginn_ = std::chrono::steady_clock::now();
    // The thread holds its own share of the request: abandoning it drops only
    // ours, and the thread's result goes with it when it ends.
    std::thread([anfrage, host, port] {
        std::vector<Netzadresse> adressen = aufloesen(host, port, 0);
        const std::lock_guard lock(anfrage->mutex);
        anfrage->adressen = std::move(adressen);
        anfrage->fertig = true;
    }).detach();
}

Namensaufloeser::Stand SystemAufloeser::stand(std::vector<Netzadresse>& adressen) {
    if (!laufend_) return Stand::Unbekannt;
    {
        const std::lock_guard lock(laufend_->mutex);
        if (laufend_->fertig) {
            adressen = laufend_->adressen;
            laufend_.reset();
            return adressen.empty() ? Stand::Unbekannt : Stand::Fertig;
        }
    }
    if (std::chrono::steady_clock::now() - beginn_ < grenze_) return Stand::Laeuft;
    laufend_.reset();
    return Stand::KeineAntwort;
}

}  // namespace rufpilot
