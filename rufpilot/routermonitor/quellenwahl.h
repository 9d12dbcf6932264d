// Builds the driver for the call source chosen in the settings: CAPI 2.0, the
// IP phone account (SIP), or the router's call monitor, which places its
// call-backs through the IP phone account when one is set up.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "rufpilot/capi/capi_treiber.h"
#include "rufpilot/config/rufquelle.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"

namespace rufpilot {

struct Quellenbau {
    std::function<std::unique_ptr<CapiTreiber>()> capi;
    // The IP phone account's driver; empty in a program built without one.
    std::function<std::unique_ptr<CapiTreiber>(const SipKonto&)> sip;
    AnrufmonitorTreiber::Uhr uhr;
    AnrufmonitorTreiber::MeldungSchreiben meldung;
    AnrufmonitorTreiber::Zeiten zeiten{};
};

std::unique_ptr<CapiTreiber> rufquelleBauen(const Quelleneinstellungen& quelle, const Quellenbau& bau);

// The source's name as the settings dialog and the messages show it.
std::string quellenName(Quellenart art);

}  // namespace rufpilot
