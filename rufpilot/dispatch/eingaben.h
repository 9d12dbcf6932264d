// Checks on what the user types into the window's test area and the settings
// dialogs. Lengths count characters, not bytes (the texts are UTF-8).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rufpilot {

std::size_t zeichenAnzahl(std::string_view utf8);

// The status the "FMS" test button sends: the status field must hold a decimal
// number (point or comma) greater than 0 and the identifier exactly 8
// characters; the number is rounded half to even. nullopt: nothing is sent.
std::optional<int> fmsTestStatus(std::string_view status, std::string_view kennung);

// The "Handy" test button calls back only a number of more than 5 characters
// from an MSN of more than 4.
bool handyTestMoeglich(std::string_view telefon, std::string_view msn);

// A new number-table entry: identifier exactly 8 characters, number at least 5.
bool eintragGueltig(std::string_view kennung, std::string_view telefon);

// The settings' MSN line from nine boxes: each text followed by ';'.
std::string msnListeBauen(const std::array<std::string, 9>& msns);

}  // namespace rufpilot
