// The gateway's wait: 40 ms steps that let the window's events run.
#include "rufpilot/dispatch/rueckruf.h"

namespace rufpilot {

void Rueckrufer::Warten(std::int32_t ms, int anzeigen) { warten(ms, anzeigen, rueckrufnummer_); }

void Rueckrufer::warten(std::int32_t ms, int anzeigen, const std::string& nummer) {
    // At least one step, so a wait of 0 still lets events run once.
    std::int64_t t = 0;
    do {
        if (anzeigen == 1) {
            const std::int64_t rest = (ms - t) / 1000;
            oberflaeche_.countdown(true, "Eingang: " + std::to_string(rest) +
                                               " Sek. bis Rückrufstart an: " + nummer);
        }
        schleife_.schlafen(40);
        schleife_.ereignisseVerarbeiten();
        if (schleife_.endeVerlangt()) {
            oberflaeche_.countdown(false, "");
            throw Programmende{};
        }
        t += 40;
    } while (t <= ms);
    oberflaeche_.countdown(false, "");
}

}  // namespace rufpilot
