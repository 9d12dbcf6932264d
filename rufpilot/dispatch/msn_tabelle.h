// The MSN table: slot i holds the MSN whose calls mean FMS status i + 1.
#pragma once

#include <array>
#include <string>

namespace rufpilot {

// Slots 0..8 are used; the tenth stays empty.
using MsnTabelle = std::array<std::string, 10>;
inline constexpr int kMsnSlots = 9;

// Fills the table from the settings' MSN list ("111;222;;..."). A list without
// ";" sets no MSN: every slot empty, result false. Otherwise field i goes to
// slot i; fields beyond the ninth are ignored and missing ones leave their
// slot empty.
bool msnListeZerlegen(const std::string& liste, MsnTabelle& tabelle);

}  // namespace rufpilot
