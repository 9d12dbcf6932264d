#include "rufpilot/anrufe/rufnummer_text.h"

#include "tonwerk/formats/cp1252.h"

namespace rufpilot {

std::string NummernText(std::string_view bytes) {
    std::string gefiltert(bytes);
    for (char& c : gefiltert) {
        const char32_t z = tonwerk::Cp1252Zeichen(static_cast<unsigned char>(c));
        if (z < 0x20 || (z >= 0x7F && z < 0xA0)) c = '?';
    }
    return tonwerk::Cp1252ZuUtf8(gefiltert);
}

std::string AnruferText(std::string_view ziffern) {
    std::string anrufer = NummernText(ziffern);
    // National numbers arrive without their trunk prefix.
    if (!anrufer.empty() && anrufer[0] >= '1' && anrufer[0] <= '9') return '0' + anrufer;
    return anrufer;
}

}  // namespace rufpilot
