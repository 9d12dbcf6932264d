// POCSAG alphanumeric text: 7-bit characters, least significant bit first, with the
// German letters of DIN 66003 (§ Ä Ö Ü ä ö ü ß on 64, 91-93, 123-126). Texts in the
// library are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tonwerk/formats/poc_codewort.h"

namespace tonwerk {

inline constexpr std::size_t kPocMaxZeichen = 255;

// Transmit code of one character: the German letters on their 7-bit places,
// everything else its Windows-1252 code; a character outside that code page
// becomes '?' (63), as the platform's conversion does. Codes above 127 have no
// POCSAG code.
int PocZeichenCode(char32_t zeichen);

// Display text of a received 7-bit code (0..127).
std::string_view PocZeichenAnzeige(int code);

// Message bits of a text: the first 255 characters, 7 bits each, least significant
// first, characters with a code above 127 left out; not padded.
std::string PocTextBits(std::string_view text);

// Message codewords of a text: its message bits padded with zeros to a multiple of
// 20, each 20 bits one message codeword.
std::vector<PocCodewort> PocTextWoerter(std::string_view text);

// Display text of received message bits: groups of seven, least significant bit
// first; a final group of fewer than seven bits is ignored. Replaces `text`.
void PocAlphaText(std::string_view bits, std::string& text);
std::string PocAlphaText(std::string_view bits);

}  // namespace tonwerk
