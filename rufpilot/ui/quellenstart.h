// The call source of a real run, as rufquelle.ini chooses it: the driver the
// application is built with, and its message lines, which can only be
// written once the application exists (they wait until then).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rufpilot/capi/capi_treiber.h"
#include "rufpilot/config/rufquelle.h"
#include "rufpilot/dispatch/ereignisschleife.h"

namespace rufpilot {

class Rufvermittlung;

using MeldungSchreiben = std::function<void(const std::string&)>;

// Builds the driver of an IP phone account, its state changes going to
// `meldung`; empty in a program without one.
using SipTreiberMacher = std::function<std::unique_ptr<CapiTreiber>(const SipKonto&, MeldungSchreiben meldung)>;

// The SIP driver of this program (see quellenstart.cpp).
SipTreiberMacher sipTreiberMacher();

class Quellenstart {
public:
    Quellenstart(const std::filesystem::path& verzeichnis, const Ereignisschleife& schleife,
                 SipTreiberMacher sip = sipTreiberMacher());
    Quellenstart(const Quellenstart&) = delete;
    Quellenstart& operator=(const Quellenstart&) = delete;

    CapiTreiber& treiber() { return *treiber_; }
    // Whether the driver has a stack of its own that the host must pump
    // (CapiTreiber::pumpen) between the monitor's ticks.
    bool brauchtPumpe() const { return einstellungen_.art != Quellenart::Capi; }
    const Quelleneinstellungen& einstellungen() const { return einstellungen_; }
    // From now on messages go to `v`'s message list, those so far first.
    void anbinden(Rufvermittlung& v);

private:
    void melden(const std::string& text);

    Quelleneinstellungen einstellungen_;
    std::vector<std::string> wartend_;
    Rufvermittlung* ziel_ = nullptr;
    std::unique_ptr<CapiTreiber> treiber_;
};

}  // namespace rufpilot
