// Rufpilot with its window, and the two ways the window meets the demo:
// screenshots of the three forms, and the demo's calls shown live.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

#include "rufpilot/config/rufquelle.h"
#include "rufpilot/betrieb/betrieb.h"

namespace rufpilot {

// The window on the real platform (ALSA, serial port, libcapi20) until it is
// closed. Exit status of the program.
int fensterBetreiben(const Betriebsoptionen& optionen, int& argc, char** argv);

// Offscreen: the first demo call through the window, then Form1.png,
// Form2.png and Form3.png in `ziel`. Exit status of the program.
int bildschirmfotosSpeichern(const std::filesystem::path& ziel, int& argc, char** argv);

// The demo's calls with the window showing them, simulated time running
// `tempo` times faster than the clock. The window stays open after the
// calls; the table is printed once it is closed. The calls come from `quelle`.
int fensterVorfuehren(const std::optional<std::filesystem::path>& verzeichnis, std::ostream& aus, double tempo,
                      int& argc, char** argv, Quellenart quelle = Quellenart::Capi);

}  // namespace rufpilot
