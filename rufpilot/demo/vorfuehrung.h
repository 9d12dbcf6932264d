// `rufpilot --demo`: the gateway on simulated time against a simulated
// telephone line and a loopback radio whose far end is a control centre with
// its own Funkwandler. Six calls, one after the other, each checked against
// what it must do; every message line and call row is printed as it happens.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "rufpilot/config/rufquelle.h"
#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/oberflaeche.h"

namespace rufpilot {

struct SimulierteWelt;

// Where the window joins the demo.
struct Vorfuehrungshaken {
    Oberflaeche* fenster = nullptr;                      // shows what the text surface shows
    std::function<void(SimulierteWelt&)> gestartet;      // after the start-up
    std::function<void(SimulierteWelt&)> vorEnde;        // after the calls, before the shut-down
    std::size_t hoechstensAnrufe = std::numeric_limits<std::size_t>::max();
    // Where the calls come from: the simulated ISDN line, RING lines of a
    // call monitor on 127.0.0.1, or INVITEs of a SIP router on 127.0.0.1.
    Quellenart quelle = Quellenart::Capi;
};

struct Anrufbilanz {
    std::string titel, erwartet, gesehen;
    bool ok = false;
};

struct Vorfuehrungsbilanz {
    std::vector<Anrufbilanz> anrufe;
    bool logGleich = false;  // the day's log holds exactly the call list's rows
    bool alleOk() const;
};

// The demo's server.ini (MSNs 4711 to 4719) and number table.
void vorfuehrungsdateienAnlegen(const std::filesystem::path& verzeichnis);

// Plays the calls in `verzeichnis` (its server.ini and number table are
// written anew), starting at wall-clock time `start`, printing as it goes.
Vorfuehrungsbilanz vorfuehrungSpielen(const std::filesystem::path& verzeichnis, std::ostream& aus, Ortszeit start,
                                      const Vorfuehrungshaken& haken = {});

// Runs the demo in `verzeichnis` (a new temporary directory when none is
// given); returns 0 when every call went exactly as expected, else 1.
int vorfuehren(const std::optional<std::filesystem::path>& verzeichnis, std::ostream& aus,
               const Vorfuehrungshaken& haken = {});

}  // namespace rufpilot
