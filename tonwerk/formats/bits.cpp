#include "tonwerk/formats/bits.h"

#include <algorithm>

namespace tonwerk {

std::string ZahlAlsBitsLsb(Integer wert, int breite) {
    std::string s;
    const auto v = static_cast<unsigned>(static_cast<std::uint16_t>(wert));
    for (int k = 0; k < breite; ++k) s.push_back(k < 16 && ((v >> k) & 1u) ? '1' : '0');
    return s;
}

std::string ZahlAlsBitsMsb(Integer wert, int breite) {
    std::string s = ZahlAlsBitsLsb(wert, breite);
    std::reverse(s.begin(), s.end());
    return s;
}

int BitsAlsZahl(std::span<const Integer> bits, int start, int breite) {
    int wert = 0;
    for (int k = 0; k < breite; ++k) {
        const int i = start + k;
        if (i >= 0 && static_cast<std::size_t>(i) < bits.size() && bits[static_cast<std::size_t>(i)] == 1) {
            wert |= 1 << k;
        }
    }
    return wert;
}

char BitsAlsHex(std::span<const Integer> bits, int start) {
    return "0123456789ABCDEF"[BitsAlsZahl(bits, start, 4)];
}

char ParitaetsBit(std::string_view bits, bool ungerade) {
    const bool einsen = std::count(bits.begin(), bits.end(), '1') % 2 == 1;
    return (einsen != ungerade) ? '1' : '0';
}

}  // namespace tonwerk
