// The text written when a call ends, from the network's reason.
#pragma once

#include <cstdint>
#include <string>

namespace rufpilot {

// A known reason in words, any other as a signed decimal number.
std::string AusloesegrundText(std::int16_t grund);

}  // namespace rufpilot
