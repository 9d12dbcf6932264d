#include "rufpilot/capi/capi_rufnummern.h"

#include <array>
#include <cstdint>

namespace rufpilot {

namespace {

// Windows-1252 bytes 0x80-0x9F; 0 marks the unassigned ones.
constexpr std::array<char32_t, 32> kCp1252Hoch = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void Utf8Anhaengen(std::string& aus, char32_t z) {
    if (z < 0x80) {
        aus.push_back(static_cast<char>(z));
    } else if (z < 0x800) {
        aus.push_back(static_cast<char>(0xC0 | (z >> 6)));
        aus.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    } else {
        aus.push_back(static_cast<char>(0xE0 | (z >> 12)));
        aus.push_back(static_cast<char>(0x80 | ((z >> 6) & 0x3F)));
        aus.push_back(static_cast<char>(0x80 | (z & 0x3F)));
    }
}

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

std::string Cp1252ZuUtf8(std::string_view bytes) {
    std::string aus;
    aus.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        char32_t z = b;
        if (b >= 0x80 && b < 0xA0) z = kCp1252Hoch[b - 0x80];
        if (z < 0x20 || z == 0x7F) z = U'?';
        Utf8Anhaengen(aus, z);
    }
    return aus;
}

std::string MsnAusNummernbereich(std::string_view bereich) {
    const std::size_t l1 = Byte(bereich, 0);
    if (l1 == 0) return {};
    return Cp1252ZuUtf8(Stueck(bereich, 2, l1 - 1));
}

std::string AnruferAusNummernbereich(std::string_view bereich) {
    const std::size_t l1 = Byte(bereich, 0);
    const std::size_t l2 = Byte(bereich, l1 + 1);
    if (l2 == 0) return "nicht erkannt";
    std::string anrufer;
    if (l2 > 2) {
        anrufer = Cp1252ZuUtf8(Stueck(bereich, l1 + 4, l2 - 2));
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
