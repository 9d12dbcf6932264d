#include "rufpilot/capi/rueckrufe.h"

#include <algorithm>

namespace rufpilot {

void Rueckrufe::gewaehlt(std::uint16_t nummer, std::int64_t jetztMs) {
    if (rufe_.size() >= kHoechstens) rufe_.pop_front();
    rufe_.push_back({nummer, jetztMs, std::nullopt, false});
}

Rueckrufe::Bestaetigt Rueckrufe::bestaetigt(std::uint16_t nummer, std::uint32_t plci, std::uint16_t info) {
    const auto ruf = std::find_if(rufe_.begin(), rufe_.end(), [&](const Ruf& r) { return !r.plci && r.nummer == nummer; });
    if (ruf == rufe_.end()) return Bestaetigt::Fremd;
    if (info >= 0x0100) {
        rufe_.erase(ruf);
        return Bestaetigt::Abgewiesen;
    }
    ruf->plci = plci;
    return Bestaetigt::Klingelt;
}

std::vector<Rueckrufe::Abbau> Rueckrufe::faellig(std::int64_t jetztMs, std::int64_t klingeldauerMs) {
    std::vector<Abbau> abbau;
    for (auto& r : rufe_) {
        if (r.plci && !r.abgebaut && jetztMs - r.seitMs >= klingeldauerMs) {
            r.abgebaut = true;
            abbau.push_back({r.nummer, *r.plci});
        }
    }
    return abbau;
}

std::optional<Rueckrufe::Abbau> Rueckrufe::angenommen(std::uint32_t plci) {
    for (auto& r : rufe_) {
        if (r.plci == plci && !r.abgebaut) {
            r.abgebaut = true;
            return Abbau{r.nummer, plci};
        }
    }
    return std::nullopt;
}

void Rueckrufe::vergessen(std::uint32_t plci) {
    std::erase_if(rufe_, [&](const Ruf& r) { return r.plci == plci; });
}

}  // namespace rufpilot
