// FMS conditioning: an FFSK demodulator whose bits are written back as clean
// half-waves for the unchanged FMS slicer.
//
// The slicer counts half-wave lengths; in noise a zero crossing moves by a
// sample or more, and at 11025 Hz a long half-wave (4.6 samples) and a short
// one (3.1) are only one and a half samples apart. Here, per sample, the last
// bit's worth of audio is correlated with 1200 and 1800 Hz (a sliding
// single-bin DFT; one bit is the matched window for either tone). The
// difference of the two powers, divided by the window's energy, is the
// discriminator; smoothed over about three samples, it flips the bit value at
// +-0.05 against the current value, and those flips steer a bit clock (each
// pulls it a third of the way). At mid-bit the value is taken and written as FFSK at the true rate: a one as two
// half-waves of 1/2400 s, a zero as three of 1/3600 s (see halbwellen for the rounding).
//
// Gate: without an FFSK signal the bits are noise, and noise bits hold a
// preamble followed by a zero about every 256 bits. So the share of the
// window's energy in the stronger tone (about 1 for FFSK, about 2/N for white
// noise over N samples) is smoothed over four bits; above 0.55 (below 0.45
// closed again) the bits are written, otherwise a 600 Hz square wave whose
// half-waves fit no FMS window. Bits are written four bits late, so that the
// gate's own delay does not eat the twelve-bit preamble.
//
// The one-bit window cannot tell 1200 Hz from anything below it: a step of a
// POCSAG baseband signal fills it like half a 1200 Hz cycle, so a POCSAG
// transmission read as a long stream of FFSK bits, and now and then some of
// them passed the check word. The gate therefore also wants most of the
// energy in the FFSK band: a band-pass around 1470 Hz (Q 1.3) keeps 78 % of
// either tone, a third of white noise, a tenth of POCSAG's baseband and 17 %
// of 675 Hz (so the two-tone additional signals stay out too); its share,
// smoothed like the tone share, must be above one half.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tonwerk/core/records.h"
#include "tonwerk/empfang/biquad.h"
#include "tonwerk/empfang/laufschreiber.h"

namespace tonwerk {

class FmsAufbereitung {
public:
    // Runs are written at `abtastrate` (capture rate); the audio comes at
    // the working rate 11025 Hz. State starts afresh.
    void einrichten(Long abtastrate);
    void verarbeiten(const float* x, int n, Laufschreiber& aus);

private:
    // Samples per pass: the loop over a buffer runs in stretches of this many,
    // first the serial sums, then the divisions four at a time, then the
    // smoothing and the bit clock.
    static constexpr int kStueck = 256;
    using V4 = float __attribute__((vector_size(16)));

    void bitSchreiben(Laufschreiber& aus);
    // `anzahl` half-waves: 1 for no signal, 2 for a one, 3 for a zero.
    void halbwellen(int anzahl, Laufschreiber& aus);
    void stueck(const float* x, int n, Laufschreiber& aus);

    static constexpr int kVerzug = 4;  // bits

    double rateAus_ = 11025;  // rate of the written runs
    int fenster_ = 9;  // samples in the correlation window
    int periode_ = 147;  // samples after which both tones repeat their phase
    // e^-jwn, per sample {re, im} of 1200 Hz, then of 1800 Hz: both tones'
    // products in one vector. Entry j belongs to sample index j - fenster_
    // (modulo periode_), long enough that a stretch starting at any index reads
    // its samples' and the window's oldest samples' entries without wrapping.
    std::vector<V4> dreh_;
    static constexpr int kFensterMax = 16;
    std::array<float, kFensterMax> verlauf_{};  // the last fenster_ samples, oldest first
    V4 summe_{};  // over the window, laid out as dreh_
    float energie_ = 0, gleich_ = 0;
    int n_ = 0;       // sample index modulo periode_
    int seitNeu_ = 0;  // samples since the sums were last recomputed

    // The FFSK band: the band-pass section in direct form, everything but the
    // last output's term summed first, so that its feedback from one sample
    // to the next is one multiplication and one subtraction. (Computing it a
    // step ahead would need a pole at a1, outside the unit circle here.)
    struct Band {
        float b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
        float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    } band_;
    // Smoothed: share of the stronger tone, power in the band, power in all,
    // discriminator; one vector, as each follows its input the same way.
    // Likewise one step ahead: g[n] = c^2 g[n-2] + c u[n-1] + u[n].
    V4 glatt_{}, glattVor_{};  // at the last sample and the one before
    V4 zuwachsVor_{};         // u at the last sample
    bool offen_ = false;
    bool eins_ = true;   // current bit value
    double phase_ = 0, schritt_ = 0, bitLaenge_ = 9.1875;
    int bitsOhneFlanke_ = 0;
    double bruchteil_ = 0;
    struct Halbwellenlaenge {
        double laenge, ganz, hoechstens;  // in written samples; rounded down; at most written
    };
    std::array<Halbwellenlaenge, 3> laengen_{};  // per number of half-waves
    std::array<bool, kVerzug> verzugBit_{}, verzugOffen_{};  // bit value and gate, per bit
    int verzugPos_ = 0;
};

}  // namespace tonwerk
