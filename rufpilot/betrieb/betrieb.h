// Rufpilot on the real platform without a window: ALSA capture and playback,
// the serial port's DTR/RTS lines, calls from the source rufquelle.ini names
// (CAPI 2.0 through libcapi20 by default), every list row printed. Runs until
// SIGINT, SIGTERM or SIGHUP, then shuts down in order.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace rufpilot {

struct Betriebsoptionen {
    std::filesystem::path verzeichnis;
    std::map<int, std::string> ports;  // COM number -> device file
    std::string pcm = "default";       // ALSA output for the transmitter
};

// Exit status of the program.
int betreiben(const Betriebsoptionen& optionen);

}  // namespace rufpilot
