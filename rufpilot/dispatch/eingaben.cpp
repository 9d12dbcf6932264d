#include "rufpilot/dispatch/eingaben.h"

#include <algorithm>
#include <cstdint>

namespace rufpilot {

std::size_t zeichenAnzahl(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::optional<int> fmsTestStatus(std::string_view status, std::string_view kennung) {
    if (zeichenAnzahl(kennung) != 8) return std::nullopt;
    std::size_t i = 0, ende = status.size();
    while (i < ende && status[i] == ' ') ++i;
    while (ende > i && status[ende - 1] == ' ') --ende;
    if (i < ende && status[i] == '+') ++i;
    // Whole part, capped: anything above the 16-bit range is refused below.
    std::int64_t ganz = 0;
    std::size_t ziffern = 0;
    for (; i < ende && status[i] >= '0' && status[i] <= '9'; ++i, ++ziffern) ganz = std::min<std::int64_t>(ganz * 10 + (status[i] - '0'), 100000);
    bool bruchUeberNull = false, ueberHalb = false, genauHalb = false;
    if (i < ende && (status[i] == '.' || status[i] == ',')) {
        const std::size_t anfang = ++i;
        for (; i < ende && status[i] >= '0' && status[i] <= '9'; ++i, ++ziffern)
            if (status[i] != '0') bruchUeberNull = true;
        const std::string_view bruch = status.substr(anfang, i - anfang);
        if (!bruch.empty()) {
            ueberHalb = bruch[0] > '5' || (bruch[0] == '5' && bruch.find_first_not_of('0', 1) != std::string_view::npos);
            genauHalb = bruch[0] == '5' && !ueberHalb;
        }
    }
    if (ziffern == 0 || i != ende) return std::nullopt;  // not a number
    if (ganz == 0 && !bruchUeberNull) return std::nullopt;  // not greater than 0
    if (ueberHalb || (genauHalb && ganz % 2 == 1)) ++ganz;
    if (ganz > 32767) return std::nullopt;
    return static_cast<int>(ganz);
}

bool handyTestMoeglich(std::string_view telefon, std::string_view msn) {
    return zeichenAnzahl(telefon) > 5 && zeichenAnzahl(msn) > 4;
}

bool eintragGueltig(std::string_view kennung, std::string_view telefon) {
    return zeichenAnzahl(kennung) == 8 && zeichenAnzahl(telefon) >= 5;
}

std::string msnListeBauen(const std::array<std::string, 9>& msns) {
    std::string liste;
    for (const std::string& m : msns) liste += m + ';';
    return liste;
}

}  // namespace rufpilot
