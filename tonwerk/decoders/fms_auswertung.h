// Reading a checked FMS bit array into the event record. Positions count from the
// first bit of the sync word: 8-39 Kennung digits, 40-43 Status, 44 Baustufe,
// 45 Richtung, 46-47 tki (46 least significant), 48-54 CRC, 55 closing bit, then
// 48-bit blocks from 56 on (short text or follow-up telegram).
//
// Only the first `bitZahl` positions were received. A short-text or follow-up
// block that was not received is not read: the telegram is then an ordinary one.
#pragma once

#include <span>
#include <string>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"

namespace tonwerk {

// Short text: the three characters of the first text block and four of each later
// one, until a block carries the last-block marker (status nibble 11) or no further
// block was received. False (and `text` empty) when the first text block is missing.
bool FmsKurztextLesen(std::span<const Integer> bits, int bitZahl, std::string& text);

// The eight hexadecimal digits of a follow-up block; false when it is missing.
bool FmsFolgetextLesen(std::span<const Integer> bits, int bitZahl, std::string& text);

// Fills every field of `tlg` from the bits.
void FmsAuswertung(std::span<const Integer> bits, int bitZahl, Integer kanal, const Einstellungen& e,
                   FmsTlgType& tlg);

}  // namespace tonwerk
