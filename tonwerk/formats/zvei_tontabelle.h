// ZVEI five-tone alerting: which frequency carries which character, and the
// repeat-tone rule of the sending side.
//
// A sequence is five tones of about 70 ms, back to back. A character equal to the
// character sent just before it goes on air as the repeat tone "W" (2600 Hz), so a
// receiver can tell two equal digits apart; the comparison is with the character as
// sent, so 11 is sent as 1W, 111 as 1W1 and 1111 as 1W1W. The first position is
// compared with the empty character.
#pragma once

#include <array>
#include <string_view>

namespace tonwerk {

// One character of a call number, as a Unicode code point; kZveiLeer stands for an
// empty position (past the end of a short call number).
inline constexpr char32_t kZveiLeer = 0x110000;
inline constexpr char32_t kZveiWiederholton = U'W';

// Frequency in Hz of a character: "0".."9" and "W" per the tone table, 1000 Hz for
// anything else (the empty position included).
int ZveiSendeFrequenz(char32_t zeichen);

// The five characters of `rufnummer` (UTF-8; characters beyond the fifth are
// ignored, missing ones are empty) with the repeat rule applied, in sending order.
std::array<char32_t, 5> ZveiSendefolge(std::string_view rufnummer);

}  // namespace tonwerk
