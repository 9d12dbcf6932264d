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

// Builds the driver of an IP phone account; empty while the program has none.
using SipTreiberMacher = std::function<std::unique_ptr<CapiTreiber>(const SipKonto&)>;

// The SIP driver of this program (see quellenstart.cpp).
SipTreiberMacher sipTreiberMacher();

class Quellenstart {
public:
    Quellenstart(const std::filesystem::path& verzeichnis, const Ereignisschleife& schleife,
                 SipTreiberMacher sip = sipTreiberMacher());

    CapiTreiber& treiber() { return *treiber_; }
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
