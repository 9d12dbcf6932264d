#include "alarm/zusatztoene.h"

#include <array>

namespace tonwerk::werkzeug {

namespace {

struct Zusatzton {
    const char* bedeutung;
    const char* frequenzen;
};

// Index = ZusatzTon - 1. Change the meanings here for local practice.
constexpr std::array<Zusatzton, 6> kZusatztoene{{
    {"Weckton (Meldeempfänger)", "2600 Hz"},
    {"Feueralarm", "675/1240 Hz"},
    {"Probealarm", "675/1860 Hz"},
    {"Zivilschutzalarm", "675/825 Hz"},
    {"Entwarnung", "675/2280 Hz"},
    {"Katastrophenalarm", "675/1010 Hz"},
}};

}  // namespace

std::string zusatztonBedeutung(int zusatzton) {
    if (zusatzton < 1 || zusatzton > 6) return "";
    return kZusatztoene[static_cast<std::size_t>(zusatzton - 1)].bedeutung;
}

std::string zusatztonFrequenzen(int zusatzton) {
    if (zusatzton < 1 || zusatzton > 6) return "";
    return kZusatztoene[static_cast<std::size_t>(zusatzton - 1)].frequenzen;
}

}  // namespace tonwerk::werkzeug
