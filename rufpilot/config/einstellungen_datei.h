// server.ini: the eight settings, one per line, Windows-1252 text with CR LF.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "rufpilot/config/einstellungen.h"

namespace rufpilot {

// The leading decimal number of a line as a 16-bit Integer (spaces around it
// ignored, none = 0, a fraction rounded half to even); nullopt when it does
// not fit.
std::optional<int> fuehrendeZahl(std::string_view zeile);

// Settings from the bytes of a server.ini. Each numeric line gives its leading
// decimal number (spaces around it ignored, none = 0, a fraction rounded half
// to even); line 6 is taken whole; lines after the eighth do not matter. A
// missing line, or a number outside the 16-bit range, leaves that setting at
// its default. A COM port of 0 becomes 1. Lines may end in CR LF, LF or CR.
Einstellungen einstellungenAusText(std::string_view inhalt);

// The bytes of a server.ini: numbers with a space before a non-negative value,
// line 6 as it stands (a line break in it would shift the following lines and
// is left out), every line ended by CR LF.
std::string einstellungenAlsText(const Einstellungen& e);

// Defaults when the file is missing. Only its first 64 KiB are read.
Einstellungen einstellungenLesen(const std::filesystem::path& datei);

// Replaces the file; throws std::system_error naming it when that fails.
void einstellungenSchreiben(const std::filesystem::path& datei, const Einstellungen& e);

}  // namespace rufpilot
