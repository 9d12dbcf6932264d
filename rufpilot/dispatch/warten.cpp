// The gateway's wait: 40 ms steps that let the window's events run.
#include "rufpilot/dispatch/rufvermittlung.h"

namespace rufpilot {

void Rufvermittlung::Warten(std::int32_t ms, int anzeigen) { warten(ms, anzeigen, rueckrufnummer_); }

void Rufvermittlung::warten(std::int32_t ms, int anzeigen, const std::string& nummer) {
    // At least one step, so a wait of 0 still lets events run once.
    std::int64_t t = 0;
    do {
        if (anzeigen == 1) {
            const std::int64_t rest = (ms - t) / 1000;
            t_.oberflaeche.countdown(true, "Eingang: " + std::to_string(rest) +
                                               " Sek. bis Rückrufstart an: " + nummer);
        }
        t_.schleife.schlafen(40);
        t_.schleife.ereignisseVerarbeiten();
        t += 40;
    } while (t <= ms);
    t_.oberflaeche.countdown(false, "");
}

}  // namespace rufpilot
