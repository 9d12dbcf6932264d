#include "rufpilot/capi/capi_rufnummern.h"

#include <cstdint>

#include "tonwerk/formats/cp1252.h"

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

std::string NummernText(std::string_view bytes) {
    std::string gefiltert(bytes);
    for (char& c : gefiltert) {
        const char32_t z = tonwerk::Cp1252Zeichen(static_cast<unsigned char>(c));
        if (z < 0x20 || (z >= 0x7F && z < 0xA0)) c = '?';
    }
    return tonwerk::Cp1252ZuUtf8(gefiltert);
}

std::string MsnAusNummernbereich(std::string_view bereich) {
    const std::size_t l1 = Byte(bereich, 0);
    if (l1 == 0) return {};
    return NummernText(Stueck(bereich, 2, l1 - 1));
}

std::string AnruferAusNummernbereich(std::string_view bereich) {
    const std::size_t l1 = Byte(bereich, 0);
    const std::size_t l2 = Byte(bereich, l1 + 1);
    if (l2 == 0) return "nicht erkannt";
    std::string anrufer;
    if (l2 > 2) {
        anrufer = NummernText(Stueck(bereich, l1 + 4, l2 - 2));
    } else {
        const unsigned t = Byte(bereich, l1 + 2);
        // Octet 3a belongs to the struct only when its length is 2.
        const unsigned p = l2 == 2 ? Byte(bereich, l1 + 3) : 0U;
        const bool unterdrueckt = (p & 0x60U) == 0x20U;
        if (unterdrueckt) {
            if ((t & 0x0FU) == 1) {
                anrufer = "ISDN Hidden";
            } else if (t == 0) {
                anrufer = "Unbekannt";
            } else {
                anrufer = "HideCode  " + std::to_string(t);
            }
        }
    }
    // National numbers arrive without their trunk prefix.
    if (!anrufer.empty() && anrufer[0] >= '1' && anrufer[0] <= '9') anrufer.insert(0, "0");
    return anrufer;
}

}  // namespace rufpilot
