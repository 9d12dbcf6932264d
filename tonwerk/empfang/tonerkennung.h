// Tone detection for the five-tone and tone-call decoders. Zero crossings of
// noisy audio wander by whole samples, which breaks the decoders' test that
// consecutive periods agree within one sample; so instead of band-limiting the
// audio, this finds which of the known tones is on and regenerates that tone
// as a clean run table for the unchanged state machines.
//
// Detection: a bank of correlators at the eleven ZVEI frequencies (1060 to
// 2600 Hz) and the two tone calls (1750, 2135 Hz) at the working rate of
// 11025 Hz, summed in blocks of 16 samples (1.45 ms) and judged over a sliding window of seven blocks (about 10 ms: the
// closest pair, 2135 and 2200 Hz, is 0.65 of the window's resolution apart and
// still falls off by 3 to 1 even with the 1 % offset of our own transmitter). A tone is on when its share of the
// window's energy (without DC) is at least 0.3 and it has twice the power
// of the runner-up. Both tests are ratios, so they do not depend on level or
// noise: white noise spreads its power over the whole band and a correlator
// sees only about 2/N of it, hum and DC none.
//
// Timing: a new tone must win two blocks in a row, a first tone after silence
// four (it crosses the share threshold when it fills about a third of the
// window, the change from one tone to the next needs two thirds; the extra
// blocks bring both to the same delay so the regenerated tones keep their
// 70 ms). A tone is held through up to seven undecided blocks, the crossover
// of two tones and short fades. Without a tone the output is a 250 Hz square
// wave: periods far outside every tone window, so a decoder in progress sees
// its tone end.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tonwerk/core/records.h"
#include "tonwerk/empfang/laufschreiber.h"

namespace tonwerk {

class Tonerkennung {
public:
    static constexpr int kToene = 13;
    static constexpr int kBreite = 16;  // bins padded for vector loads

    // Prepares the bank for runs at `abtastrate` (capture rate) from audio at
    // the working rate 11025 Hz; the channel state starts afresh.
    void einrichten(Long abtastrate);
    // Reads `n` samples at the working rate (zero line 0) and writes the
    // regenerated runs. The output trails the input by the block in progress.
    void verarbeiten(const float* x, int n, Laufschreiber& aus);

    // Index of the tone on (into frequenz()), -1 for none.
    int aktuellerTon() const { return aktuell_; }
    static double frequenz(int ton);

private:
    void blockEnde(Laufschreiber& aus);
    void erzeugen(int samples, Laufschreiber& aus);

    static constexpr int kBlock = 16;
    double rateAus_ = 11025;  // rate of the written runs
    std::array<double, kToene + 1> halbperiode_{};  // in written samples, per tone, the last for none
    int faktor_ = 1;          // capture samples per working sample
    // [sample in block][bin]: the inner loop runs over the bins, which
    // vectorises without reordering any sum.
    alignas(32) std::array<std::array<float, kBreite>, kBlock> cos_{}, sin_{};
    alignas(32) std::array<float, kBlock> block_{};
    // Per-bin state in float, four bins to a vector: the phasors are put back
    // on the unit circle and the window's sums rebuilt every kNormieren blocks,
    // long before float rounding could move a share by a part in a thousand.
    alignas(16) std::array<float, kBreite> schrittRe_{}, schrittIm_{}, drehRe_{}, drehIm_{};

    int position_ = 0;  // samples of the block in progress
    int bisNormieren_ = 0;

    static constexpr int kFenster = 7;
    alignas(16) std::array<std::array<float, kBreite>, kFenster> fensterRe_{}, fensterIm_{};
    alignas(16) std::array<float, kBreite> summeRe_{}, summeIm_{};  // over the window
    std::array<double, kFenster> fensterEnergie_{}, fensterSumme_{};
    int fensterPos_ = 0;
    int gefuellt_ = 0;

    int aktuell_ = -1;
    int kandidat_ = -1;
    int kandidatBloecke_ = 0;
    int unentschieden_ = 0;
    double bisWechsel_ = 1;  // samples to the next change of the regenerated wave
};

}  // namespace tonwerk
