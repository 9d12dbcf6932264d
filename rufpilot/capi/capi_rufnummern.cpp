#include "rufpilot/capi/capi_rufnummern.h"

#include <cstdint>

#include "rufpilot/anrufe/rufnummer_text.h"

namespace rufpilot {

namespace {

// Byte `i` of the area, 0 past its end.
unsigned Byte(std::string_view bereich, std::size_t i) {
    return i < bereich.size() ? static_cast<unsigned char>(bereich[i]) : 0U;
}

// `anzahl` bytes from `ab`, cut at the end of the area.
std::string_view Stueck(std::string_view bereich, std::size_t ab, std::size_t anzahl) {
    if (ab >= bereich.size()) return {};
    return bereich.substr(ab, anzahl);
}

}  // namespace

std::string MsnAusNummernbereich(std::string_view bereich) {
    const std::size_t l1 = Byte(bereich, 0);
    if (l1 == 0) return {};
    return NummernText(Stueck(bereich, 2, l1 - 1));
}

std::string AnruferAusNummernbereich(std::string_view bereich) {
    const std::size_t l1 = Byte(bereich, 0);
    const std::size_t l2 = Byte(bereich, l1 + 1);
    if (l2 == 0) return kAnruferNichtErkannt;
    if (l2 > 2) {
        const std::string_view ziffern = Stueck(bereich, l1 + 4, l2 - 2);
        // ISDN delivers a national number without its trunk prefix.
        if (!ziffern.empty() && ziffern[0] >= '1' && ziffern[0] <= '9')
            return RufnummerText("0" + std::string(ziffern));
        return RufnummerText(ziffern);
    }
    const unsigned t = Byte(bereich, l1 + 2);
    // Octet 3a is read where it stands in a struct of length 2, also when
    // the struct says length 1 (a driver that counts only octet 3).
    const unsigned p = Byte(bereich, l1 + 3);
    if ((p & 0x60U) != 0x20U) return {};  // not suppressed, yet without digits
    if ((t & 0x0FU) == 1) return "ISDN Hidden";
    if (t == 0) return kAnruferUnbekannt;
    return "HideCode  " + std::to_string(t);
}

}  // namespace rufpilot
