// The call-back after an acknowledged call: a visible countdown, then the dial.
#include "rufpilot/dispatch/rueckruf.h"

namespace rufpilot {

void Rueckrufer::Rueckruf(const std::string& nummer, const std::string& msn, int sekunden) {
    meldung_("Wähle " + nummer + "\t MSN=" + msn);
    // The countdown keeps the number it started with, even when a call
    // handled inside the wait sets another.
    const std::string angezeigt = rueckrufnummer_;
    warten(static_cast<std::int32_t>(sekunden) * 1000, 1, angezeigt);
    waehler_.waehlen(nummer, msn);
}

}  // namespace rufpilot
