#include "rufpilot/dispatch/msn_tabelle.h"

namespace rufpilot {

bool msnListeZerlegen(const std::string& liste, MsnTabelle& tabelle) {
    tabelle.fill({});
    if (liste.find(';') == std::string::npos) return false;
    std::size_t anfang = 0;
    for (int slot = 0; slot < kMsnSlots && anfang <= liste.size(); ++slot) {
        std::size_t ende = liste.find(';', anfang);
        if (ende == std::string::npos) ende = liste.size();
        tabelle[static_cast<std::size_t>(slot)] = liste.substr(anfang, ende - anfang);
        anfang = ende + 1;
    }
    return true;
}

}  // namespace rufpilot
