// POCSAG conditioning: decides each bit of the two-level baseband on its own
// and writes the bits as runs for the unchanged run slicer.
//
// The slicer of the capture compares each sample with the zero line, so a DC
// offset, the droop of an AC-coupled line input and noise near the line all
// turn into false runs. Here every bit is decided once, from the sum of the
// samples over one bit (the matched filter of a rectangular bit: it collects
// the whole bit energy) taken at the bit's end, against zero: the level
// normalisation before has taken the DC out over 0.19 s, far longer than any
// run. Each bit stands on its own: a wrong decision costs that bit, never the
// run up to the next edge.
//
// A line input's AC coupling (a first-order high-pass, here up to 100 Hz)
// lets a run of equal bits sag towards zero within a bit or two at 512
// bit/s, but never across it: the output of such a coupling keeps the sign of
// a two-level input. Deep in a long run the sum is then so close to zero that
// the 8-bit steps and the DC removal's lag decide it; a sum within 3 % of the
// mean height of the runs' first bits (which a coupling does not lower)
// continues the bit before. On a DC-coupled input at 0 dB noise puts a sum
// there about once in 50000 bits.
//
// Bit clock: the sums cross zero half a bit after every edge, at a point found
// to a fraction of a sample between two sums; the bit's end is half a bit
// later, its sum interpolated there. Each crossing moves the clock's phase by a
// share of its distance and its rate by a quarter of the share's square (a
// critically damped second-order loop: a transmitter whose clock is off by up
// to 3 % is followed without a lag, as is our own, whose runs are rounded one
// by one). The share is a half when the carrier comes, so a few dozen preamble
// bits bring the clock in, and then follows the carrier test's ratio below: a
// quarter on a clean signal, whose crossings are exact and may move quickly,
// 0.08 in strong noise, where each crossing is off by a tenth of a bit and the
// clock must average many. Each bit is written as a run of exactly one bit's
// length (the fraction carried, so a run of n bits is n bit lengths to the
// sample).
//
// Carrier: the levels alone cannot tell where a transmission ends. Noise
// after it would go on as random bits, and the decoder takes only a run of
// more than 64 bits or many short runs for the carrier gone. So the input is
// also judged by the power of its steps from sample to sample against its
// power, both smoothed over three bits: 2 for white noise, below 0.5 for a
// clean two-level signal whatever its bit pattern (only its edges step),
// about 1.1 at 0 dB at 11025 Hz and less at the higher rates, whose averaging
// removes half or three quarters of the noise. Above 1.7 for four bits in a
// row (at 0 dB over 11025 Hz it passes 1.7 for a bit now and then) the carrier
// is off, below 1.5 on again; so it is when the power stays 20 dB below the carrier's
// for 18 bits (a squelch's silence, or noise far weaker than the signal was;
// an AC-coupled line sags that low in a long run of equal bits). When it goes,
// the run in progress is ended (its last bits and those of the detection
// delay, well within one codeword) and runs of a quarter bit follow, which the
// decoder takes for noise; it ends the message then, whole.
#pragma once

#include <cstdint>
#include <vector>

#include "tonwerk/core/records.h"
#include "tonwerk/empfang/laufschreiber.h"

namespace tonwerk {

class PocAufbereitung {
public:
    // Prepares for `abtastrate` and `baud` (512 or 1200); state starts afresh.
    // Runs are written at `abtastrate` (capture rate); the audio comes at
    // the working rate 11025 Hz.
    void einrichten(Long abtastrate, Long baud);
    void verarbeiten(const float* x, int n, Laufschreiber& aus);

private:
    void kurzSchreiben(std::int32_t samples, Laufschreiber& aus);

    int bit_ = 22;             // samples summed for one bit
    std::vector<float> ring_;  // the last bit of samples
    int pos_ = 0;
    double summe_ = 0;          // over the last bit
    double vorigeSumme_ = 0;    // the sum one sample earlier
    double hoehe_ = 0;          // mean magnitude of the sums of runs' first bits
    bool hoch_ = false;         // the last bit decided
    double bitAus_ = 22;        // samples per bit of the written runs
    double schritt_ = 0;        // bits per sample
    double phase_ = 0;          // of the bit clock, 0 where the sums cross, in bits
    double tempo_ = 0;          // relative correction of the bit clock's rate
    double takt_ = 0;           // bits per sample, with that correction
    double zug_ = 0.5;          // share of a crossing's distance the clock moves
    int bitsMitTraeger_ = 0;    // bits since the carrier came, up to 64
    double bruchteil_ = 0;      // of a sample, carried between written bits

    double glaettung_ = 0;             // per sample, of the two energies below
    float vorige_ = 0;                 // the input sample before
    double stufen_ = 0, energie_ = 0;  // smoothed power of the steps between samples, and of the input
    double traegerSpitze_ = 0;         // of energie_, decaying
    int stilleBits_ = 0;               // bits in a row with energie_ far below it
    int rauschBits_ = 0;               // bits in a row with the ratio of noise
    bool traeger_ = false;
    double kurzerLauf_ = 5;  // samples of a quarter bit at the capture rate
    double kurzRest_ = 0;    // samples of the current short run still to write
};

}  // namespace tonwerk
