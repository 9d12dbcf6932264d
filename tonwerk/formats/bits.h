// Bit strings and received bit arrays. A bit string is a text of '0'/'1', first
// character first on air; FMS fields go least significant bit first, the FMS
// check value most significant first. A received bit array holds one bit per
// element (1 is a one, anything else a zero).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tonwerk/core/records.h"

namespace tonwerk {

// `breite` bits of the value's two's complement, bit 0 first; higher bits ignored.
std::string ZahlAlsBitsLsb(Integer wert, int breite);
// `breite` bits, bit breite-1 first.
std::string ZahlAlsBitsMsb(Integer wert, int breite = 7);
// Value of `breite` elements from `start`, the first being the least significant.
// Positions outside the array count as zero bits.
int BitsAlsZahl(std::span<const Integer> bits, int start, int breite);
// Four elements from `start` as one upper-case hexadecimal digit.
char BitsAlsHex(std::span<const Integer> bits, int start);
// Parity over the ones of `bits`: '1' when odd (even parity), inverted with `ungerade`.
char ParitaetsBit(std::string_view bits, bool ungerade);

}  // namespace tonwerk
