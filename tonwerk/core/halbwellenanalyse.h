// Half-wave analysis: turns one channel of an 8-bit stereo buffer into runs of
// equal sign. A run ends when the sign changes; the run in progress at the end of
// the buffer is carried into the next one. A run not longer than SampleFehlerRate
// with a stored run before it is treated as a glitch: it is merged into that run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "tonwerk/core/halbwelle.h"

namespace tonwerk {

// The run in progress of one channel, carried from buffer to buffer.
struct LaufZustand {
    std::int16_t Lauflaenge = 1;
    std::int16_t LetzterPegel = 0;
};

// Analyses `frames` stereo frames of `puffer` (interleaved, left byte first) for
// channel `kanal` (0 or 1). Stores at most `frames` entries in `tabelle` (which must
// hold that many) and returns their count. `frames` must not exceed 11025, the
// largest buffer, so that every run fits in 16 bits.
int halbwellenanalyse(const std::uint8_t* puffer, int frames, int kanal, LaufZustand& zustand,
                      int sampleFehlerRate, Halbwelle* tabelle);

// Both channels of a buffer at once, with the same results as two calls of
// halbwellenanalyse; `links` and `rechts` must each hold `frames` entries.
void halbwellenanalyseStereo(const std::uint8_t* puffer, int frames, std::array<LaufZustand, 2>& zustand,
                             int sampleFehlerRate, Halbwelle* links, Halbwelle* rechts, int& nLinks, int& nRechts);

// Level of a buffer: the largest distance from the zero line (128) among the
// first ten samples of the channel, 0..128.
std::int32_t pegelmessung(const std::uint8_t* puffer, int frames, int kanal);

}  // namespace tonwerk
