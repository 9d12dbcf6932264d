// The call source's settings, beside server.ini (whose eight lines stay as
// they are): rufquelle.ini with one "name=value" per line, and the IP phone
// account's password alone in sip_passwort, readable by its owner only.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "rufpilot/config/rufquelle.h"

namespace rufpilot {

inline constexpr const char* kQuellendatei = "rufquelle.ini";
inline constexpr const char* kPasswortdatei = "sip_passwort";

// Settings from the text of a rufquelle.ini (without the password). A line
// that is not understood, or a value that does not fit, leaves that setting
// at its default and adds a hint naming the line.
Quelleneinstellungen quellenAusText(std::string_view text, std::vector<std::string>& hinweise);
std::string quellenAlsText(const Quelleneinstellungen& q);

struct Quellenlesung {
    Quelleneinstellungen werte;
    std::vector<std::string> hinweise;  // message lines to show
};

// Defaults when the files are missing. A file with faults is kept as
// rufquelle.ini.defekt before anything may overwrite it; a password file
// others can read is made private (with a hint).
Quellenlesung quellenLesen(const std::filesystem::path& verzeichnis);

// Writes both files; the password file is created with mode 0600 and never
// exists with wider rights. Throws std::system_error naming the file.
void quellenSchreiben(const std::filesystem::path& verzeichnis, const Quelleneinstellungen& q);

}  // namespace rufpilot
