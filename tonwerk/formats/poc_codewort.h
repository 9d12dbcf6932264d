// POCSAG codewords (CCIR Radiopaging Code No. 1): 32 bits, held in a uint32 whose
// most significant bit is the first bit on air. Bit 1 is the flag (0 = address,
// 1 = message), bits 2-21 carry the information, bits 22-31 the BCH(31,21) check
// bits (generator 0x769) and bit 32 makes the number of ones even.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tonwerk/core/records.h"

namespace tonwerk {

using PocCodewort = std::uint32_t;

inline constexpr PocCodewort kPocSyncWort = 0x7CD215D8;
inline constexpr PocCodewort kPocIdleWort = 0x7A89C197;

// Check bits (0..1023) of 21 information bits (flag first, in bit 20 of the argument).
std::uint32_t PocBch(std::uint32_t info21);

// Even parity over 31 bits (first bit in bit 30): 1 when they hold an odd number of ones.
std::uint32_t PocParitaet(std::uint32_t bits31);

// Address codeword: RIC bits 20..3 as the address, function 1/2/3 as "01"/"10"/"11",
// any other function value as "00". RIC mod 8 is the frame and is not sent.
PocCodewort PocAdresswort(Long ric, Long funktion);

// Message codeword for 20 message bits (the first in bit 19 of the argument).
PocCodewort PocNachrichtenwort(std::uint32_t bits20);

// "0"/"1" text of a codeword, first bit first.
std::string PocWortAlsBits(PocCodewort wort);

// A 32-character "0"/"1" text as a codeword; nothing for any other text.
std::optional<PocCodewort> PocWortAusBits(std::string_view bits);

}  // namespace tonwerk
