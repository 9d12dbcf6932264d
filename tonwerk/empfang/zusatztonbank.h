// Block classifier for the additional signals ZVEISenden appends after a
// five-tone sequence: the 2600 Hz wake-up tone and the two-tone signals of
// 675 Hz with 825, 1010, 1240, 1860 or 2280 Hz.
//
// Blocks of 128 samples at 11025 Hz (11.6 ms) are correlated with the seven
// frequencies. 128 samples resolve 86 Hz, enough for the closest pair (675
// and 825 Hz) and wide enough that a tone 15 Hz off (the whole-degree phase
// steps of a classic transmitter put 1240 Hz at 1225 Hz) keeps 95 % of its
// power. A block's class is judged by shares of its energy without DC, which
// do not depend on level: a two-tone signal holds about half in each of its
// tones, white noise about 1/64 in any one, POCSAG's baseband and speech
// spread theirs; FMS, ZVEI and the tone calls have no 675 Hz and their
// tones other than 2600 Hz lie at least 60 Hz from the others' (1800 Hz
// against 1860 Hz keeps 14 % in the wrong bin, and it needs 675 Hz too).
//
// Every class needs 675 Hz or 2600 Hz to hold a large share, so a first pass
// over those two bins, with independent accumulators, rejects almost every
// block of traffic and noise; it allows for the rounding of both passes, so
// any block it passes on is classified by the full pass exactly as before.
#pragma once

#include <array>

namespace tonwerk {

class Zusatztonbank {
public:
    static constexpr int kBlock = 128;  // samples at 11025 Hz
    static constexpr int kToene = 7;

    Zusatztonbank();

    // Class of one block of kBlock samples (any zero line): 1 for 2600 Hz,
    // 2 to 6 for the two-tone signals in the numbering of ZusatzTon, 0 for none.
    int klasse(const float* block) const;

private:
    // False only for blocks that the full pass surely puts in class 0.
    bool moeglich(const float* block) const;

    static constexpr int kBreite = 8;  // bins padded for vector loads
    alignas(32) std::array<std::array<float, kBreite>, kBlock> cos_{}, sin_{};
    // The first pass's 675 and 2600 Hz lines (cos, sin each), the same values.
    alignas(16) std::array<std::array<float, kBlock>, 4> vorab_{};
};

}  // namespace tonwerk
