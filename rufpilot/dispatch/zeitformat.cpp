#include "rufpilot/dispatch/zeitformat.h"

#include <cstdio>

namespace rufpilot {

std::string uhrzeitText(const Ortszeit& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.stunde, t.minute, t.sekunde);
    return text;
}

std::string sekundenSeitMitternacht(const Ortszeit& t) {
    const long sekunden = (t.stunde * 60L + t.minute) * 60L + t.sekunde;
    const int hundertstel = t.millisekunde / 10;
    std::string text = std::to_string(sekunden);
    if (hundertstel == 0) return text;
    text += ',';
    text += static_cast<char>('0' + hundertstel / 10);
    if (hundertstel % 10 != 0) text += static_cast<char>('0' + hundertstel % 10);
    return text;
}

}  // namespace rufpilot
