#include "tonwerk/formats/zeichensatz.h"

#include <array>
#include <utility>

#include "tonwerk/formats/cp1252.h"
#include "tonwerk/formats/utf8.h"

namespace tonwerk {

namespace {

// The German substitutions, both directions.
constexpr std::array<std::pair<char32_t, std::uint8_t>, 8> kDeutsch = {{
    {U'§', 0x40}, {U'Ä', 0x5B}, {U'Ö', 0x5C}, {U'Ü', 0x5D}, {U'ä', 0x7B}, {U'ö', 0x7C}, {U'ü', 0x7D}, {U'ß', 0x7E},
}};

}  // namespace

std::uint8_t ZeichenZuCode(char32_t zeichen) {
    for (const auto& [z, code] : kDeutsch) {
        if (z == zeichen) return code;
    }
    return static_cast<std::uint8_t>(Cp1252Code(zeichen) & 0x7F);
}

std::vector<std::uint8_t> TextZuCodes(std::string_view utf8, std::size_t hoechstens) {
    const std::u32string zeichen = Utf8Dekodieren(utf8);
    std::vector<std::uint8_t> codes;
    for (std::size_t i = 0; i < zeichen.size() && i < hoechstens; ++i) codes.push_back(ZeichenZuCode(zeichen[i]));
    return codes;
}

std::string_view CodeZuZeichen(int code) {
    static constexpr std::array<std::string_view, 128> kTabelle = [] {
        std::array<std::string_view, 128> t{};
        constexpr std::string_view ascii =
            " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
        for (int c = 0; c < 128; ++c) {
            t[static_cast<std::size_t>(c)] = (c < 32 || c == 127) ? ascii.substr(0, 1) : ascii.substr(static_cast<std::size_t>(c - 32), 1);
        }
        t[0x40] = "§";
        t[0x5B] = "Ä";
        t[0x5C] = "Ö";
        t[0x5D] = "Ü";
        t[0x7B] = "ä";
        t[0x7C] = "ö";
        t[0x7D] = "ü";
        t[0x7E] = "ß";
        return t;
    }();
    return kTabelle[static_cast<std::size_t>(code & 0x7F)];
}

}  // namespace tonwerk
