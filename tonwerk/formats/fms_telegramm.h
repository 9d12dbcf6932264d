// FMS telegram on air (bit strings, first bit first):
//   12 x "1" Vorlauf, sync word "00011010", then one 48-bit block:
//   Kennung 8 digits x 4 bits | Status 4 | Baustufe 1 | Richtung 1 | tki 2 |
//   CRC 7 (most significant first) | closing "0".
// Digits, status and tki go least significant bit first. The CRC divides the 40
// data bits followed by seven zeros by x^7 + x^6 + x^2 + 1 (0xC5).
// A control centre's status 10 may carry a short text in further 48-bit blocks
// sent right after the closing bit; a vehicle's status 10 may be followed by one
// follow-up block of eight digits.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tonwerk/core/records.h"

namespace tonwerk {

inline constexpr std::string_view kFmsVorlauf = "111111111111";
inline constexpr std::string_view kFmsSynchronwort = "00011010";
inline constexpr int kFmsBlockBits = 48;
inline constexpr int kFmsKurztextMax = 99;

// The 40 data bits. Kennung characters that are not hexadecimal digits, and missing
// ones, count as 0; characters after the eighth are ignored. Only the low 4 bits of
// Status are sent; any non-zero Baustufe/Richtung is 1; tki outside 0..3 is 3.
std::string FmsDatenBits(std::string_view kennung, Integer status, Integer baustufe, Integer richtung, Integer tki);

// Check value (0..127) of the 40 data bits.
int FmsCrc(std::string_view datenBits);

// Receiver check over 47 received elements from `start` (40 data bits, 7 CRC bits):
// 0 when the block is intact.
int FmsCrcRest(std::span<const Integer> bits, int start);

// Data bits, their CRC, closing "0": 48 bits.
std::string FmsBlock(std::string_view datenBits);

// Whether a short text goes with these fields.
bool FmsKurztextErlaubt(Integer status, Integer richtung, Integer tki, Integer baustufe, std::string_view text,
                        Boolean trbos);

// The text blocks of a short text (UTF-8; at most 99 characters are sent).
std::string KurztextBloecke(std::string_view text);

// Follow-up block of a vehicle's status 10: eight hexadecimal digits as 4-bit
// fields (as Kennung digits), eight zero bits, CRC and closing bit.
std::string FolgeBlock(std::string_view ziffern);

// The whole telegram: Vorlauf, sync word, telegram block and, when allowed, the text blocks.
std::string FmsTelegrammBits(std::string_view kennung, Integer status, Integer baustufe, Integer richtung,
                             Integer tki, std::string_view text, Boolean trbos);

}  // namespace tonwerk
