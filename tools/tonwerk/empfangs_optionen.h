// Options that decode and listen share, declared in one place so that both
// commands spell and mean them the same.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

struct EmpfangsOptionen {
    bool json = false;
    bool pegel = false;
    std::vector<std::string> setzen;
    int baud = 0;         // POCSAG bit rate to read; 0 = both
    bool filter = false;  // --filter: Empfangsfilter=True before the --set values
};

void empfangsOptionen(CLI::App* cmd, EmpfangsOptionen& o);
// Turns --filter into its --set, ahead of the user's own (called once parsed).
void filterUebernehmen(EmpfangsOptionen& o);

// What the printed time of an event means, for the commands' help texts.
inline constexpr const char* kZeitBedeutungDatei =
    "Die Zeit vor jedem Ereignis ist die Stelle in der Aufnahme (Sekunden ab Anfang) am Ende des Aufnahmepuffers, "
    "in dem die Meldung erkannt wurde (RecordPufferSize, Standard 5512 Frames: 0,5 s bei 11025 Hz), also kurz nach "
    "ihrem Ende.";
inline constexpr const char* kZeitBedeutungLive =
    "Die Zeit vor jedem Ereignis zählt in Sekunden ab dem Start und ist der Moment der Erkennung, am Ende des "
    "Aufnahmepuffers, der die Meldung abschloss (RecordPufferSize, Standard 5512 Frames: 0,5 s bei 11025 Hz), "
    "also kurz nach ihrem Ende.";

}  // namespace tonwerk::werkzeug
