#include "rufpilot/routermonitor/monitorzeile.h"

#include <vector>

namespace rufpilot {

namespace {

std::vector<std::string_view> Felder(std::string_view zeile) {
    std::vector<std::string_view> felder;
    std::size_t anfang = 0;
    while (felder.size() < 16) {
        const std::size_t ende = zeile.find(';', anfang);
        felder.push_back(zeile.substr(anfang, ende == std::string_view::npos ? std::string_view::npos : ende - anfang));
        if (ende == std::string_view::npos) break;
        anfang = ende + 1;
    }
    return felder;
}

bool IdLesen(std::string_view feld, std::uint32_t& id) {
    if (feld.empty() || feld.size() > 9) return false;
    id = 0;
    for (char c : feld) {
        if (c < '0' || c > '9') return false;
        id = id * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return true;
}

// Dial strings: digits and the few signs a router puts in front or between.
bool Nummer(std::string_view feld) {
    if (feld.size() > kMonitorFeldMax) return false;
    for (char c : feld) {
        const bool ziffer = c >= '0' && c <= '9';
        if (!ziffer && c != '+' && c != '*' && c != '#') return false;
    }
    return true;
}

}  // namespace

Monitorzeile MonitorzeileLesen(std::string_view zeile) {
    if (!zeile.empty() && zeile.back() == '\r') zeile.remove_suffix(1);
    Monitorzeile z;
    auto f = Felder(zeile);
    // Routers end every kind in ';', some leave it off: the values counted
    // below are those before an empty last field.
    if (f.back().empty()) f.pop_back();
    if (f.size() < 4 || f[0].empty()) return z;
    for (char c : f[0])
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return z;
    std::uint32_t id = 0;
    if (!IdLesen(f[2], id)) return z;
    const std::string_view art = f[1];
    if (art == "RING" && f.size() >= 5 && Nummer(f[3]) && Nummer(f[4]) && !f[4].empty()) {
        z.anrufer = std::string(f[3]);
        z.msn = std::string(f[4]);
        z.art = Monitorzeile::Art::Ruf;
    } else if (art == "CALL" && f.size() >= 6) {
        z.art = Monitorzeile::Art::Abgehend;
    } else if (art == "CONNECT" && f.size() >= 4) {
        z.art = Monitorzeile::Art::Verbunden;
    } else if (art == "DISCONNECT" && f.size() == 4) {
        std::uint32_t sekunden = 0;
        if (IdLesen(f[3], sekunden)) z.art = Monitorzeile::Art::Ende;
    }
    if (z.art != Monitorzeile::Art::Unlesbar) z.id = id;
    return z;
}

}  // namespace rufpilot
