// System error numbers in the tool's language, for the cases people meet at a
// station (missing file, no permission, device busy); others keep the C text.
#pragma once

#include <string>

namespace tonwerk::werkzeug {

// Text for an errno value (a negative ALSA code counts as its positive errno).
std::string systemFehlerText(int fehler);

// Why a serial port cannot be used, found by trying it again: "nicht
// vorhanden", "keine Berechtigung", "von einem anderen Programm belegt", ...
std::string anschlussGrund(const std::string& geraet);

// ALSA prints its own English lines to stderr for every failed open; the tool
// says what went wrong itself, once (the library's handler, as in rufpilot).
void alsaMeldungenAus();

}  // namespace tonwerk::werkzeug
