#include "tonwerk/formats/zvei_tontabelle.h"

#include "tonwerk/formats/utf8.h"

namespace tonwerk {

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
    // Five characters take at most 20 bytes; the rest of a long text is ignored anyway.
    const std::u32string zeichenfolge = Utf8Dekodieren(rufnummer.substr(0, 20));
    char32_t vorher = kZveiLeer;
    for (std::size_t i = 0; i < folge.size(); ++i) {
        char32_t& z = folge[i];
        char32_t zeichen = i < zeichenfolge.size() ? zeichenfolge[i] : kZveiLeer;
        if (zeichen == vorher) zeichen = kZveiWiederholton;
        z = zeichen;
        vorher = zeichen;
    }
    return folge;
}

}  // namespace tonwerk
