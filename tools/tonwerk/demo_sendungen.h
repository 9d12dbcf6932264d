// The transmissions of `tonwerk demo`: every kind of signal the control sends,
// built by the control's own send methods (captured from its transmit file
// instead of played), each with the event a receiver should raise for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tonwerk/core/records.h"

namespace tonwerk::werkzeug {

struct DemoSendung {
    int kanal = 0;            // 0 = left, 1 = right
    std::string art;          // kind, for people: "FMS", "ZVEI", ...
    std::string inhalt;       // what was sent, for people
    std::string erwartet;     // EmpfangsSchluessel of the event it should raise
    int anzahl = 1;           // times the event should come (DoppeltSenden: 2)
    std::vector<std::uint8_t> proben;  // 8-bit mono at 11025 Hz, as in the transmit file
};

// The transmissions of both channels, each channel in its own order.
// `baud` is 512 or 1200 (POCSAG).
std::vector<DemoSendung> demoSendungen(int baud);

// A received event reduced to what identifies it; equal for the sent and the
// received form of one message (short-text padding and POCSAG fill characters
// at the end do not count).
std::string EmpfangsSchluessel(const FmsTlgType& t);
std::string EmpfangsSchluessel(const ZVEIType& z);
std::string EmpfangsSchluessel(const POCType& p);
std::string EmpfangsSchluessel(const TonrufType& t);

// Kind of a received event, as in DemoSendung::art.
std::string EmpfangsArt(const FmsTlgType& t);

}  // namespace tonwerk::werkzeug
