// Comparing numbers and MSNs the way callers type them: whole text, letter
// case ignored.
#pragma once

#include <string_view>

namespace rufpilot {

// True when both texts are equal apart from letter case (ASCII letters and the
// Latin-1 letters of UTF-8, such as the umlauts). No prefix or suffix matches.
bool gleichOhneGrossschreibung(std::string_view a, std::string_view b);

}  // namespace rufpilot
