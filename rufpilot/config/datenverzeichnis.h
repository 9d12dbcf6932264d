// Where the gateway keeps server.ini, fms_telefon_leitung.dat and Logs/.
#pragma once

#include <filesystem>
#include <optional>

namespace rufpilot {

// The directory without touching the disk: `vorgabe` (--dir) when given, else
// $XDG_CONFIG_HOME/rufpilot when that is an absolute path, else
// $HOME/.config/rufpilot. Empty when none of them is available.
std::filesystem::path datenverzeichnisWaehlen(const std::optional<std::filesystem::path>& vorgabe,
                                              const char* xdgConfigHome, const char* home);

// As above from the process environment, created with its parents when
// missing. Throws std::runtime_error (or std::filesystem::filesystem_error)
// naming the directory when there is none or it cannot be created.
std::filesystem::path datenverzeichnis(const std::optional<std::filesystem::path>& vorgabe);

// `daten`/Logs, created when missing; throws as above.
std::filesystem::path logverzeichnis(const std::filesystem::path& daten);

}  // namespace rufpilot
