// The call-back after an acknowledged call: a visible countdown, then the dial.
#include "rufpilot/dispatch/rufvermittlung.h"

namespace rufpilot {

void Rufvermittlung::Rueckruf(const std::string& nummer, const std::string& msn, int sekunden) {
    MeldungSchreiben("Wähle " + nummer + "\t MSN=" + msn);
    // The countdown keeps the number it started with, even when a call
    // handled inside the wait sets another.
    const std::string angezeigt = rueckrufnummer_;
    warten(static_cast<std::int32_t>(sekunden) * 1000, 1, angezeigt);
    t_.waehler.waehlen(nummer, msn);
}

}  // namespace rufpilot
