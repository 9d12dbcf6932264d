#include "tonwerk/formats/poc_einstellwort.h"

namespace tonwerk {

PocCodewort PocWortEinstellung(std::string_view bits, PocCodewort standard) {
    if (bits.size() < 32) return standard;
    return PocWortAusBits(bits.substr(0, 32)).value_or(standard);
}

}  // namespace tonwerk
