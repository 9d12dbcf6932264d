// fms_telefon_leitung.dat: one caller per line, Windows-1252 text with CR LF,
// the fields FMS identifier, TAB, telephone number, TAB, line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "rufpilot/config/einstellungen.h"

namespace rufpilot {

// Reading stops after this many records or bytes, whichever comes first.
inline constexpr std::size_t kNummernHoechstensEintraege = 10000;
inline constexpr std::size_t kNummernHoechstensBytes = 4 * 1024 * 1024;

// The table held by the bytes of the file. A record is its line up to the
// first comma; lines may end in CR LF, LF or CR. An empty record keeps its
// place as an empty entry. A record with fewer than three TAB-separated fields
// is not valid and left out, so the records after it move up one place; fields
// after the third are ignored.
Nummerntabelle nummernAusText(std::string_view inhalt);

// nullopt when the file does not exist: the caller keeps its table as it is.
std::optional<Nummerntabelle> nummernLesen(const std::filesystem::path& datei);

// One line of the file, without its CR LF. Throws std::invalid_argument when a
// field holds a TAB, comma, CR or LF: the line would not read back as written.
std::string nummernZeile(const Nummerneintrag& eintrag);

// Appends one line, creating the file when missing (a last line without its
// end gets one first).
void nummerAnhaengen(const std::filesystem::path& datei, const Nummerneintrag& eintrag);

// Replaces the file by one line per entry, in table order. A bad entry throws
// before the file is touched.
void nummernSchreiben(const std::filesystem::path& datei, const Nummerntabelle& tabelle);

// Removes the `index`th record as nummernAusText counts them (the grid's row)
// and keeps every other line byte for byte, also those the reader leaves out
// (fewer than three fields) or a person wrote by hand. False, and the file
// untouched, when that record is not `erwartet` (the file changed meanwhile)
// or does not exist.
bool nummerEntfernen(const std::filesystem::path& datei, std::size_t index, const Nummerneintrag& erwartet);

// File errors throw std::system_error naming the file.

}  // namespace rufpilot
