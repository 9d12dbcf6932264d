#include "tonwerk/formats/poc_text.h"

#include <array>
#include <utility>

#include "tonwerk/formats/cp1252.h"
#include "tonwerk/formats/utf8.h"

namespace tonwerk {

namespace {

constexpr std::array<std::string_view, 32> kSteuerzeichen{
    "[NULL]", "[SOH]", "[STX]", "[ETX]", "[EOT]", "[ENQ]", "[ACK]", "[BEL]", "[BS]",  "[HT]", "[LF]",
    "[VT]",   "[FF]",  "[CR]",  "[SO]",  "[SI]",  "[DLE]", "[DC]",  "[DC]",  "[DC]",  "[DC]", "[NAK]",
    "[SYN]",  "[ETB]", "[CAN]", "[EM]",  "[SUB]", "[ESC]", "[FS]",  "[GS]",  "[RS]",  "[US]",
};

// Printable ASCII 32..126 as one string, so that each character has a view of its own.
constexpr std::string_view kDruckbar =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

}  // namespace

int PocZeichenCode(char32_t zeichen) {
    switch (zeichen) {
        case U'§': return 64;
        case U'Ä': return 91;
        case U'Ö': return 92;
        case U'Ü': return 93;
        case U'ä': return 123;
        case U'ö': return 124;
        case U'ü': return 125;
        case U'ß': return 126;
        default: break;
    }
    return Cp1252Code(zeichen);
}

std::string_view PocZeichenAnzeige(int code) {
    switch (code) {
        case 64: return "§";
        case 91: return "Ä";
        case 92: return "Ö";
        case 93: return "Ü";
        case 123: return "ä";
        case 124: return "ö";
        case 125: return "ü";
        case 126: return "ß";
        case 127: return "[DEL]";
        default: break;
    }
    if (code >= 0 && code < 32) return kSteuerzeichen[static_cast<std::size_t>(code)];
    if (code >= 32 && code < 127) return kDruckbar.substr(static_cast<std::size_t>(code - 32), 1);
    return {};
}

std::string PocTextBits(std::string_view text) {
    std::string bits;
    bits.reserve(kPocMaxZeichen * 7);
    const std::u32string zeichen = Utf8Dekodieren(text);
    for (std::size_t n = 0; n < kPocMaxZeichen && n < zeichen.size(); ++n) {
        const int code = PocZeichenCode(zeichen[n]);
        if (code > 127) continue;
        for (int b = 0; b < 7; ++b) bits.push_back((code >> b) & 1 ? '1' : '0');
    }
    return bits;
}

std::vector<PocCodewort> PocTextWoerter(std::string_view text) {
    std::string bits = PocTextBits(text);
    bits.resize((bits.size() + 19) / 20 * 20, '0');
    std::vector<PocCodewort> woerter;
    woerter.reserve(bits.size() / 20);
    for (std::size_t start = 0; start < bits.size(); start += 20) {
        std::uint32_t nutz = 0;
        for (std::size_t k = 0; k < 20; ++k) nutz = (nutz << 1) | static_cast<std::uint32_t>(bits[start + k] == '1');
        woerter.push_back(PocNachrichtenwort(nutz));
    }
    return woerter;
}

void PocAlphaText(std::string_view bits, std::string& text) {
    text.clear();
    for (std::size_t start = 0; start + 7 <= bits.size(); start += 7) {
        int code = 0;
        for (int b = 0; b < 7; ++b) {
            if (bits[start + static_cast<std::size_t>(b)] == '1') code |= 1 << b;
        }
        text.append(PocZeichenAnzeige(code));
    }
}

std::string PocAlphaText(std::string_view bits) {
    std::string text;
    PocAlphaText(bits, text);
    return text;
}

}  // namespace tonwerk
