// The two ways the gateway writes the time of day into its lists.
#pragma once

#include <string>

#include "rufpilot/dispatch/ereignisschleife.h"

namespace rufpilot {

// "HH:MM:SS", as the German system time format shows it.
std::string uhrzeitText(const Ortszeit& t);

// Seconds since midnight in the German number format: decimal comma, at most
// two decimals (hundredths, cut off), no trailing zeros and no comma for a
// whole second ("36000,5", "36001,04", "36002").
std::string sekundenSeitMitternacht(const Ortszeit& t);

}  // namespace rufpilot
