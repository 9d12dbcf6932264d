// Error control of POCSAG codewords: the BCH(31,21) code with the even parity bit
// has a minimum distance of 6, so every codeword within two bits of a received
// word is the only one, and three wrong bits are always seen, never "corrected".
// A receiver that reads codewords unchecked turns one wrong address bit into an
// alarm for another pager; this corrects one and two wrong bits and reports more.
#pragma once

#include "tonwerk/formats/poc_codewort.h"

namespace tonwerk {

struct PocPruefung {
    PocCodewort wort = 0;  // the corrected codeword; the received one when not correctable
    int fehler = 0;        // bits corrected, 0 to 2; kPocNichtKorrigierbar for three or more
};

inline constexpr int kPocNichtKorrigierbar = -1;

// Checks a received codeword (first bit on air in bit 31) against its BCH
// syndrome and parity, and corrects up to two wrong bits, the parity bit
// included. The syndrome table is a constant built at compile time.
PocPruefung PocKorrigieren(PocCodewort empfangen);

}  // namespace tonwerk
