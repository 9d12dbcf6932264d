#include "rufpilot/capi/libcapi20_treiber.h"

#include <capi20.h>
#include <sys/time.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>

namespace rufpilot {

namespace {

// The largest message the library hands out in one buffer.
constexpr std::size_t kNachrichtMax = SEND_BUFSIZ;

}  // namespace

Libcapi20Treiber::Libcapi20Treiber() {
    std::signal(SIGPIPE, SIG_IGN);
    capi20ext_set_tracelevel(0);
}

bool Libcapi20Treiber::vorhanden(std::string& gesucht) {
    const char* home = std::getenv("HOME");
    gesucht = std::string("libcapi20: ") + (home ? home : "~") + "/.capi20rc oder /etc/capi20.conf";
    return capi20_isinstalled() == 0;
}

std::uint32_t Libcapi20Treiber::registrieren(std::uint32_t, std::uint32_t maxVerbindungen, std::uint32_t maxB3Bloecke,
                                             std::uint32_t maxB3Laenge) {
    // The library sizes its message buffer itself.
    unsigned applId = 0;
    if (capi20_register(maxVerbindungen, maxB3Bloecke, maxB3Laenge, &applId) != 0) return 0;
    return applId;
}

unsigned Libcapi20Treiber::senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) {
    if (nachricht.size() < 8) return kCapiFalscheNachricht;
    // The C interface takes a mutable buffer.
    std::vector<unsigned char> kopie(nachricht.begin(), nachricht.end());
    return capi20_put_message(applId, kopie.data());
}

unsigned Libcapi20Treiber::holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) {
    timeval sofort{0, 0};
    if (capi20_waitformessage(applId, &sofort) != 0) return kCapiWarteschlangeLeer;
    unsigned char* puffer = nullptr;
    const unsigned ergebnis = capi20_get_message(applId, &puffer);
    if (ergebnis == kCapiWarteschlangeLeer || (ergebnis == 0 && puffer == nullptr)) return kCapiVerbindungVerloren;
    if (ergebnis != 0) return ergebnis;
    const std::size_t laenge = std::min<std::size_t>(static_cast<std::size_t>(puffer[0] | (puffer[1] << 8)), kNachrichtMax);
    nachricht.assign(puffer, puffer + laenge);
    return 0;
}

void Libcapi20Treiber::freigeben(std::uint32_t applId) { capi20_release(applId); }

int Libcapi20Treiber::descriptor(std::uint32_t applId) { return capi20_fileno(applId); }

}  // namespace rufpilot
