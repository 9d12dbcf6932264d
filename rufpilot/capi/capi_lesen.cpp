#include "rufpilot/capi/capi_lesen.h"

#include <algorithm>

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_nachrichten.h"

namespace rufpilot {

std::optional<CapiKopf> KopfLesen(std::span<const std::uint8_t> nachricht) {
    if (nachricht.size() < capi::kKopfLaenge) return std::nullopt;
    CapiKopf k;
    k.laenge = static_cast<std::int16_t>(Le16(nachricht, 0));
    k.applId = Le16(nachricht, 2);
    k.befehl = nachricht[4];
    k.unterbefehl = nachricht[5];
    k.nummer = Le16(nachricht, 6);
    return k;
}

std::span<const std::uint8_t> ParameterLesen(std::span<const std::uint8_t> nachricht) {
    const auto kopf = KopfLesen(nachricht);
    if (!kopf || kopf->laenge < static_cast<std::int16_t>(capi::kKopfLaenge)) return {};
    const auto ende = std::min(nachricht.size(), static_cast<std::size_t>(kopf->laenge));
    return nachricht.subspan(capi::kKopfLaenge, ende - capi::kKopfLaenge);
}

Eingangsruf ConnectIndLesen(std::span<const std::uint8_t> nachricht) {
    const auto p = ParameterLesen(nachricht);
    Eingangsruf ruf;
    ruf.plci = Le32(p, 0);
    ruf.cip = Le16(p, 4);
    if (p.size() > 6) {
        const auto bereich = p.subspan(6, std::min(p.size() - 6, kNummernbereichMax));
        ruf.nummernbereich.assign(bereich.begin(), bereich.end());
    }
    return ruf;
}

Abbauanzeige DisconnectIndLesen(std::span<const std::uint8_t> nachricht) {
    const auto p = ParameterLesen(nachricht);
    return {Le32(p, 0), static_cast<std::int16_t>(Le16(p, 4))};
}

Bestaetigung BestaetigungLesen(std::span<const std::uint8_t> nachricht) {
    const auto p = ParameterLesen(nachricht);
    return {Le32(p, 0), Le16(p, 4)};
}

}  // namespace rufpilot
