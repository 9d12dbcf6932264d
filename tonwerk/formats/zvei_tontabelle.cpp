#include "tonwerk/formats/zvei_tontabelle.h"

#include <cstddef>
#include <cstdint>

namespace tonwerk {

namespace {

// Reads one UTF-8 code point at `pos` and advances it. A malformed byte stands for
// itself (mapped into the private range) so that no input is lost or merged.
char32_t naechstesZeichen(std::string_view text, std::size_t& pos) {
    const auto b0 = static_cast<std::uint8_t>(text[pos]);
    const auto fremd = [&] {
        ++pos;
        return static_cast<char32_t>(0xF700 + b0);
    };
    int folge = 0;
    char32_t wert = 0;
    if (b0 < 0x80) {
        ++pos;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        folge = 1;
        wert = b0 & 0x1Fu;
    } else if ((b0 & 0xF0) == 0xE0) {
        folge = 2;
        wert = b0 & 0x0Fu;
    } else if ((b0 & 0xF8) == 0xF0) {
        folge = 3;
        wert = b0 & 0x07u;
    } else {
        return fremd();
    }
    if (text.size() - pos <= static_cast<std::size_t>(folge)) return fremd();
    for (int i = 1; i <= folge; ++i) {
        const auto b = static_cast<std::uint8_t>(text[pos + static_cast<std::size_t>(i)]);
        if ((b & 0xC0) != 0x80) return fremd();
        wert = (wert << 6) | (b & 0x3Fu);
    }
    pos += static_cast<std::size_t>(folge) + 1;
    return wert;
}

}  // namespace

int ZveiSendeFrequenz(char32_t zeichen) {
    switch (zeichen) {
        case U'1': return 1060;
        case U'2': return 1160;
        case U'3': return 1270;
        case U'4': return 1400;
        case U'5': return 1530;
        case U'6': return 1670;
        case U'7': return 1830;
        case U'8': return 2000;
        case U'9': return 2200;
        case U'0': return 2400;
        case U'W': return 2600;
        default: return 1000;
    }
}

std::array<char32_t, 5> ZveiSendefolge(std::string_view rufnummer) {
    std::array<char32_t, 5> folge{};
    std::size_t pos = 0;
    char32_t vorher = kZveiLeer;
    for (char32_t& z : folge) {
        char32_t zeichen = pos < rufnummer.size() ? naechstesZeichen(rufnummer, pos) : kZveiLeer;
        if (zeichen == vorher) zeichen = kZveiWiederholton;
        z = zeichen;
        vorher = zeichen;
    }
    return folge;
}

}  // namespace tonwerk
