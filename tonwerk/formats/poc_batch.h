// Placement of one POCSAG message in batches. A batch is the synchronisation
// codeword and 16 codewords (8 frames of 2). The address codeword opens the
// frame RIC mod 8, idle codewords fill the frames before it; the message codewords
// follow without regard to frames, and idle codewords fill the last batch. When the
// message ends on codeword 16, one batch of idle codewords follows.
#pragma once

#include <span>
#include <vector>

#include "tonwerk/core/records.h"
#include "tonwerk/formats/poc_codewort.h"

namespace tonwerk {

inline constexpr int kPocWoerterJeBatch = 16;

// Frame of a RIC: its three lowest bits.
inline int PocRahmen(Long ric) { return static_cast<int>(static_cast<std::uint32_t>(ric) & 7u); }

// Every codeword of the transmission after the preamble, synchronisation codewords included.
std::vector<PocCodewort> PocBatchFolge(Long ric, PocCodewort adresse, std::span<const PocCodewort> nachricht,
                                       PocCodewort sync = kPocSyncWort, PocCodewort idle = kPocIdleWort);

}  // namespace tonwerk
