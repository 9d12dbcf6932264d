// POCSAG conditioning: finds the bit edges of the two-level baseband and
// writes the levels between them, for the unchanged run slicer.
//
// The slicer of the capture compares each sample with the zero line, so a DC
// offset or the droop of an AC-coupled line input (a 100 Hz high-pass lets a
// run of equal bits sag to zero within two bits at 1200 bit/s) turns into
// false runs, and noise into a crossing at every sample near the line. Here
// an edge detector takes the difference of the sums over the last bit and the
// bit before it (a step-matched filter: DC cancels exactly, droop only
// shortens the step, and summing a bit's worth of samples is the matched
// filter's gain). The level flips when that difference passes half the mean
// height of the recent edges with the sign opposite to the current level; so
// noise well below the edges never flips it, and every edge is delayed alike
// (half a bit).
//
// A line input's AC coupling (a first-order high-pass, here up to 100 Hz)
// makes a run of equal bits sag towards zero within a bit or two at 512
// bit/s, and the sag itself looks like an edge of the opposite sign. The
// input therefore first gets the inverse of such a coupling: its own leaky
// integral (100 Hz over a 5 Hz leak) added. On a DC-coupled input this only
// tilts each run in its own direction, which never flips the level, and a DC
// offset settles to a constant that the difference removes.
//
// Noise still moves each flip by a sample or so, and the decoder counts its
// 500 preamble bits only while every run lies within about one sample of a
// bit. So the flips only steer a bit clock (each pulls its phase half way to
// the flip); the level is read once per bit, half a bit after the expected
// edge, and written as a run of exactly one bit's length (the fraction is
// carried, so a run of n bits is n bit lengths to the sample).
//
// Carrier: the levels alone cannot tell where a transmission ends. Noise
// after it rarely passes the edge threshold, so the last run would grow on
// and its bits (the end of the last codeword) never reach the decoder, which
// takes a run of more than 64 bits for the carrier gone. So the input is also
// judged by the power of its steps from sample to sample against its power,
// both smoothed over three bits: 2 for white noise, below 0.5 for a clean
// two-level signal whatever its bit pattern (only its edges step), about 1.2
// at 0 dB. Above 1.7 the carrier is off, below 1.5 on again; so it is when the
// power stays 20 dB below the carrier's for 18 bits (a squelch's silence, or
// noise far weaker than the signal was; an AC-coupled line sags that low in a
// long run of equal bits). When it goes,
// the run in progress is ended (its last bits and those of the detection
// delay, well within one codeword) and runs of a quarter bit follow, which
// the decoder takes for noise; it ends the message then, whole.
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
    // the working rate 11025 Hz. State starts afresh.
    void einrichten(Long abtastrate, Long baud);
    void verarbeiten(const float* x, int n, Laufschreiber& aus);

private:
    void kurzSchreiben(std::int32_t samples, Laufschreiber& aus);

    int bit_ = 22;                   // samples summed per side
    std::vector<float> ring_;  // the last two bits of samples
    int pos_ = 0;
    double neu_ = 0, alt_ = 0;  // sums over the last bit and the bit before
    bool hoch_ = false;
    double spitze_ = 0;       // highest difference since the last flip
    double kantenHoehe_ = 0;  // mean edge height, scaled by 8
    double bitAus_ = 22;      // samples per bit of the written runs
    double integral_ = 0;     // leaky integral of the input, for the coupling
    double schritt_ = 0;     // bits per sample
    double bitLaenge_ = 22;  // samples per bit
    double phase_ = 0;       // of the bit clock, 0 at an edge, in bits
    double bruchteil_ = 0;   // of a sample, carried between written bits

    double glaettung_ = 0;             // per sample, of the two energies below
    float vorige_ = 0;                 // the input sample before
    double stufen_ = 0, energie_ = 0;  // smoothed power of the steps between samples, and of the input
    double traegerSpitze_ = 0;         // of energie_, decaying
    int stilleBits_ = 0;               // bits in a row with energie_ far below it
    bool traeger_ = false;
    double kurzerLauf_ = 5;  // samples of a quarter bit at the capture rate
    double kurzRest_ = 0;    // samples of the current short run still to write
};

}  // namespace tonwerk
