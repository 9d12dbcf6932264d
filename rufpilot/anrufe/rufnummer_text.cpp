#include "rufpilot/anrufe/rufnummer_text.h"

#include <algorithm>

#include "tonwerk/formats/cp1252.h"

namespace rufpilot {

namespace {

// Digits and the signs a dial string may hold, separators included.
bool Waehlzeichen(char c) { return (c >= '0' && c <= '9') || c == '*' || c == '#' || Rufnummerntrenner(c); }

bool Waehlnummer(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
           std::all_of(text.begin(), text.end(), Waehlzeichen);
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

bool Rufnummerntrenner(char c) { return c == ' ' || c == '-' || c == '/' || c == '.' || c == '(' || c == ')'; }

std::string RufnummerEinheitlich(std::string_view nummer) {
    std::string text;
    text.reserve(nummer.size() + 1);
    for (const char c : nummer)
        if (!Rufnummerntrenner(c)) text.push_back(c);
    if (text.starts_with("+49")) {
        text.replace(0, 3, "0");
    } else if (text.starts_with("0049")) {
        text.replace(0, 4, "0");
    } else if (text.starts_with("+")) {
        text.replace(0, 1, "00");
    }
    return text;
}

std::string RufnummerText(std::string_view bytes) { return NummernText(RufnummerEinheitlich(bytes)); }

bool GleicheRufnummer(std::string_view a, std::string_view b) {
    return Waehlnummer(a) && Waehlnummer(b) && RufnummerEinheitlich(a) == RufnummerEinheitlich(b);
}

}  // namespace rufpilot
