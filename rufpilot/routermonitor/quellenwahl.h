// Builds the call source chosen in the settings: CAPI 2.0, the IP phone
// account (SIP), or the router's call monitor, which places its call-backs
// through the IP phone account when one is set up.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "rufpilot/anrufe/anrufquelle.h"
#include "rufpilot/config/rufquelle.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"

namespace rufpilot {

struct Quellenbau {
    std::function<std::unique_ptr<Anrufquelle>()> capi;
    // The IP phone account's source; empty in a program built without one.
    std::function<std::unique_ptr<Anrufquelle>(const SipKonto&)> sip;
    AnrufmonitorTreiber::Uhr uhr;
    AnrufmonitorTreiber::Zeiten zeiten{};
};

std::unique_ptr<Anrufquelle> rufquelleBauen(const Quelleneinstellungen& quelle, const Quellenbau& bau);

// The source's name as the settings dialog and the messages show it.
std::string quellenName(Quellenart art);

}  // namespace rufpilot
