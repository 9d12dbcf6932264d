#include "rufpilot/dispatch/textvergleich.h"

namespace rufpilot {
namespace {

// Lower-cases one byte; `nachC3` says the byte follows the UTF-8 lead byte of
// the Latin-1 letters, where capitals 0x80..0x9E (not 0x97, the multiplication
// sign) map to 0xA0..0xBE.
unsigned char klein(unsigned char c, bool nachC3) {
    if (nachC3) return (c >= 0x80 && c <= 0x9E && c != 0x97) ? static_cast<unsigned char>(c + 0x20) : c;
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool gleichOhneGrossschreibung(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    bool nachC3 = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (klein(x, nachC3) != klein(y, nachC3)) return false;
        nachC3 = x == 0xC3;  // equal lead bytes so far, so y is 0xC3 too
    }
    return true;
}

}  // namespace rufpilot
