// `rufpilot --demo`: the gateway on simulated time against a simulated
// telephone line and a loopback radio whose far end is a control centre with
// its own Funkwandler. Six calls, one after the other, each checked against
// what it must do; every message line and call row is printed as it happens.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "rufpilot/dispatch/ereignisschleife.h"

namespace rufpilot {

struct Anrufbilanz {
    std::string titel, erwartet, gesehen;
    bool ok = false;
};

struct Vorfuehrungsbilanz {
    std::vector<Anrufbilanz> anrufe;
    bool logGleich = false;  // the day's log holds exactly the call list's rows
    bool alleOk() const;
};

// Plays the calls in `verzeichnis` (its server.ini and number table are
// written anew), starting at wall-clock time `start`, printing as it goes.
Vorfuehrungsbilanz vorfuehrungSpielen(const std::filesystem::path& verzeichnis, std::ostream& aus, Ortszeit start);

// Runs the demo in `verzeichnis` (a new temporary directory when none is
// given); returns 0 when every call went exactly as expected, else 1.
int vorfuehren(const std::optional<std::filesystem::path>& verzeichnis, std::ostream& aus);

}  // namespace rufpilot
