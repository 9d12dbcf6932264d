// CAPI 2.0 codes in the gateway's terms: a DISCONNECT_IND's reason as an
// Ausloesung of an ISDN call, and Info values (refused requests, driver
// faults) with German words beside the code.
#pragma once

#include <cstdint>
#include <string>

#include "rufpilot/anrufe/ausloesung.h"

namespace rufpilot {

// Reasons the network gives (class 0x34: 0x3480 + the Q.850 cause).
inline constexpr std::uint16_t kCapiAufgelegt = 0x3490;           // normal clearing
inline constexpr std::uint16_t kCapiAmComputerAngenommen = 0x3304;  // another application took it
inline constexpr std::uint16_t kCapiAnderswoAngenommen = 0x349A;  // non-selected user clearing
inline constexpr std::uint16_t kCapiOhneUrsache = 0x3400;         // cleared without a cause

// The known reasons by name; any other as Sonstiger with its signed
// decimal value and words ("13057 (Protokollfehler Schicht 1)").
Ausloesung CapiAusloesung(std::uint16_t grund);

// "0x2002 (ungültige PLCI)": an Info value in hex with words.
std::string CapiInfoText(unsigned info);

}  // namespace rufpilot
