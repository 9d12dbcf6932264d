// The call source of a real run, as rufquelle.ini chooses it: the source the
// application is built with, and the notes on reading rufquelle.ini, which
// can only be written once the application exists (they wait until then).
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "rufpilot/anrufe/anrufquelle.h"
#include "rufpilot/config/rufquelle.h"
#include "rufpilot/dispatch/ereignisschleife.h"

namespace rufpilot {

class Rufvermittlung;

using MeldungSchreiben = std::function<void(const std::string&)>;

// Builds the source of an IP phone account; empty in a program without one.
using SipTreiberMacher = std::function<std::unique_ptr<Anrufquelle>(const SipKonto&)>;

// The SIP source of this program (see quellenstart.cpp).
SipTreiberMacher sipTreiberMacher();

class Quellenstart {
public:
    Quellenstart(const std::filesystem::path& verzeichnis, const Ereignisschleife& schleife,
                 SipTreiberMacher sip = sipTreiberMacher());
    Quellenstart(const Quellenstart&) = delete;
    Quellenstart& operator=(const Quellenstart&) = delete;

    Anrufquelle& treiber() { return *treiber_; }
    // Whether the source has a stack of its own that the host must pump
    // (Anrufquelle::pumpen) between the monitor's ticks.
    bool brauchtPumpe() const { return einstellungen_.art != Quellenart::Capi; }
    const Quelleneinstellungen& einstellungen() const { return einstellungen_; }
    // Writes the notes on rufquelle.ini to `v`'s message list.
    void anbinden(Rufvermittlung& v);

private:
    Quelleneinstellungen einstellungen_;
    std::vector<std::string> wartend_;
    std::unique_ptr<Anrufquelle> treiber_;
};

}  // namespace rufpilot
