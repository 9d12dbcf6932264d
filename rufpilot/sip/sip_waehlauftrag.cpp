#include "rufpilot/sip/sip_waehlauftrag.h"

#include <algorithm>

namespace rufpilot {

namespace {

std::string Text(std::span<const std::uint8_t> d, std::size_t ab, std::size_t anzahl) {
    std::string t;
    for (std::size_t i = ab; i < ab + anzahl && i < d.size(); ++i) t.push_back(static_cast<char>(d[i]));
    return t;
}

std::size_t Byte(std::span<const std::uint8_t> d, std::size_t i) { return i < d.size() ? d[i] : 0U; }

}  // namespace

Waehlauftrag WaehlauftragLesen(std::span<const std::uint8_t> m) {
    // Header 8, controller 4, CIP 2: the called party number struct at 14.
    const std::size_t lGerufen = Byte(m, 14);
    Waehlauftrag a;
    if (lGerufen > 1) a.nummer = Text(m, 16, lGerufen - 1);
    const std::size_t anrufer = 15 + lGerufen;
    const std::size_t lAnrufer = Byte(m, anrufer);
    if (lAnrufer > 2) a.msn = Text(m, anrufer + 3, lAnrufer - 2);
    while (!a.msn.empty() && a.msn.back() == ' ') a.msn.pop_back();
    return a;
}

std::string Nummernliste::gefuellt(std::string nummer) const {
    nummer.resize(breite_, fuellung_);
    return nummer;
}

void Nummernliste::merken(const std::string& nummer) {
    if (nummer.empty()) return;
    std::erase(nummern_, nummer);
    if (nummern_.size() >= kHoechstens) nummern_.pop_front();
    nummern_.push_back(nummer);
}

std::string Nummernliste::aufloesen(const std::string& feld) const {
    const std::string gesucht = gefuellt(feld);
    for (auto n = nummern_.rbegin(); n != nummern_.rend(); ++n) {
        if (gefuellt(*n) == gesucht) return *n;
        // The monitor shows (and the table holds) a national number with its "0".
        if (fuellung_ == '0' && (*n)[0] >= '1' && (*n)[0] <= '9' && gefuellt("0" + *n) == gesucht) return "0" + *n;
    }
    return feld;
}

}  // namespace rufpilot
