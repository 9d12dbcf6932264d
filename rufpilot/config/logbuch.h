// The daily call log: one file per day in the log directory, one call row per
// line (Windows-1252, CR LF), only ever appended to.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rufpilot {

// Reading keeps at most the newest this many items or bytes of a day.
inline constexpr std::size_t kLogHoechstensEintraege = 10000;
inline constexpr std::size_t kLogHoechstensBytes = 4 * 1024 * 1024;

// "2003-12-3.txt": four-digit year, month and day without leading zeros.
std::string logDateiname(int jahr, int monat, int tag);

// Appends `zeile` (UTF-8) and CR LF to the day's file, creating it when
// missing; opened and closed for each line. Throws std::system_error naming
// the file.
void logZeileAnhaengen(const std::filesystem::path& logverzeichnis, int jahr, int monat, int tag,
                       const std::string& zeile);

// The items of a log's bytes in file order. An item ends at a line end or a
// comma; empty items are left out. Only the newest items are kept when there
// are more than kLogHoechstensEintraege.
std::vector<std::string> logAusText(std::string_view inhalt);

// The items of a day's file; empty when it does not exist. A file longer than
// kLogHoechstensBytes is read from its end, starting at a whole line.
std::vector<std::string> logLesen(const std::filesystem::path& datei);

}  // namespace rufpilot
