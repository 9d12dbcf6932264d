#include "rufpilot/dispatch/anrufzeile.h"

#include <charconv>
#include <vector>

namespace rufpilot {

std::string anrufZeileText(const Anrufzeile& z) {
    return z.uhrzeit + '\t' + z.telefon + '\t' + z.msn + '\t' + z.kennung + '\t' + std::to_string(z.status) + '\t' +
           z.leitung + '\t' + (z.quittiert ? "ja" : "nein");
}

std::optional<Anrufzeile> anrufZeileLesen(std::string_view zeile) {
    std::vector<std::string_view> felder;
    for (std::size_t anfang = 0;;) {
        const std::size_t tab = zeile.find('\t', anfang);
        felder.push_back(zeile.substr(anfang, tab == std::string_view::npos ? std::string_view::npos : tab - anfang));
        if (tab == std::string_view::npos) break;
        anfang = tab + 1;
    }
    if (felder.size() != 7 || (felder[6] != "ja" && felder[6] != "nein")) return std::nullopt;
    Anrufzeile z;
    const std::string_view status = felder[4];
    const auto [ende, fehler] = std::from_chars(status.data(), status.data() + status.size(), z.status);
    if (fehler != std::errc{} || ende != status.data() + status.size()) return std::nullopt;
    z.uhrzeit = felder[0];
    z.telefon = felder[1];
    z.msn = felder[2];
    z.kennung = felder[3];
    z.leitung = felder[5];
    z.quittiert = felder[6] == "ja";
    return z;
}

}  // namespace rufpilot
