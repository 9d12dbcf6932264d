#include "rufpilot/capi/ausloesegrund.h"

namespace rufpilot {

std::string AusloesegrundText(std::int16_t grund) {
    switch (static_cast<std::uint16_t>(grund)) {
        case 0x3490: return "Anrufer hat aufgelegt";
        case 0x3304: return "Angenommen am Computer";
        case 0x349A: return "Angenommen am S0-Bus";
        case 0x349F: return "Anruf umgeleitet";
        case 0x34E6: return "Abbruch durch VSt";
        default: return std::to_string(grund);
    }
}

}  // namespace rufpilot
