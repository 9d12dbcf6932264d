// Rufpilot with its window, and the two ways the window meets the demo:
// screenshots of the three forms, and the demo's calls shown live.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

#include "rufpilot/config/rufquelle.h"
#include "rufpilot/betrieb/betrieb.h"
#include "rufpilot/fenster/qt_schleife.h"
#include "rufpilot/fenster/signalwache.h"

namespace rufpilot {

// The window on the real platform (ALSA, serial port, libcapi20) until it is
// closed. Exit status of the program.
int fensterBetreiben(const Betriebsoptionen& optionen, int& argc, char** argv);

// SIGINT, SIGTERM and SIGHUP for the window, as headless: a running dispatch
// ends at the next step of its waits on `schleife` (its guard releases the
// line, the call is logged as ended by the stop), then every event loop ends
// once the stack has unwound to them and the close sequence runs as after
// "Ja". Not quit(): that asks the window, and the window would ask a person.
std::unique_ptr<Signalwache> stopBeiSignal(QtSchleife& schleife);

// Offscreen: the first demo call through the window, then Form1.png,
// Form2.png and Form3.png in `ziel`. Exit status of the program.
int bildschirmfotosSpeichern(const std::filesystem::path& ziel, int& argc, char** argv);

// The demo's calls with the window showing them, simulated time running
// `tempo` times faster than the clock. The window stays open after the
// calls; the table is printed once it is closed. The calls come from `quelle`.
int fensterVorfuehren(const std::optional<std::filesystem::path>& verzeichnis, std::ostream& aus, double tempo,
                      int& argc, char** argv, Quellenart quelle = Quellenart::Capi);

}  // namespace rufpilot
