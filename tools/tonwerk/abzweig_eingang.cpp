#include "abzweig_eingang.h"

namespace tonwerk::werkzeug {

std::int32_t AbzweigEingang::vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) {
    if (puffer >= 0 && puffer < kPuffer) puffer_[static_cast<std::size_t>(puffer)] = {daten, bytes, true};
    return AlsaEingang::vorbereiten(puffer, daten, bytes);
}

std::int32_t AbzweigEingang::einreihen(int puffer) {
    if (puffer >= 0 && puffer < kPuffer) puffer_[static_cast<std::size_t>(puffer)].weitergegeben = false;
    return AlsaEingang::einreihen(puffer);
}

bool AbzweigEingang::fertig(int puffer) const {
    const bool f = AlsaEingang::fertig(puffer);
    if (f && puffer >= 0 && puffer < kPuffer) {
        Puffer& p = puffer_[static_cast<std::size_t>(puffer)];
        if (!p.weitergegeben) {
            p.weitergegeben = true;
            if (abzweig && p.daten) abzweig(p.daten, p.bytes);
        }
    }
    return f;
}

}  // namespace tonwerk::werkzeug
