#include "tonwerk/formats/cp1252.h"

#include <array>

#include "tonwerk/formats/utf8.h"

namespace tonwerk {

namespace {

// Bytes 0x80-0x9F and their code points.
constexpr std::array<char32_t, 32> kHoch = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

int Cp1252Code(char32_t zeichen) {
    if (zeichen < 0x80 || (zeichen >= 0xA0 && zeichen <= 0xFF)) return static_cast<int>(zeichen);
    for (std::size_t i = 0; i < kHoch.size(); ++i) {
        if (kHoch[i] == zeichen) return static_cast<int>(0x80 + i);
    }
    return '?';
}

char32_t Cp1252Zeichen(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHoch[byte - 0x80u] : char32_t{byte};
}

std::string Cp1252ZuUtf8(std::string_view cp1252) {
    std::string aus;
    aus.reserve(cp1252.size());
    for (char c : cp1252) Utf8Anhaengen(aus, Cp1252Zeichen(static_cast<unsigned char>(c)));
    return aus;
}

std::string Utf8ZuCp1252(std::string_view utf8) {
    std::string aus;
    aus.reserve(utf8.size());
    for (char32_t z : Utf8Dekodieren(utf8)) aus.push_back(static_cast<char>(Cp1252Code(z)));
    return aus;
}

}  // namespace tonwerk
