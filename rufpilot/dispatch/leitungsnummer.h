// A number-table entry's line text as the keying line number.
#pragma once

#include <string>

namespace rufpilot {

// Exactly "DTR" is 1, exactly "RTS" is 2; anything else is 0, which keys RTS.
inline int leitungsnummer(const std::string& text) {
    if (text == "DTR") return 1;
    if (text == "RTS") return 2;
    return 0;
}

}  // namespace rufpilot
