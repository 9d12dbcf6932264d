// The demo recording: each channel's transmissions laid one after the other,
// upsampled from the 11025 Hz transmit audio to the recording's rate, with
// white noise on top and stored as 16-bit stereo.
#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "demo_sendungen.h"

namespace tonwerk::werkzeug {

// Interleaved stereo, full scale 1.0. Each channel carries one transmission at a
// time: its own list in order, `pause` seconds between two of them (on top of the
// silence inside each transmit file). The right channel starts later, so that
// left and right overlap with different signals.
std::vector<float> demoMischen(const std::vector<DemoSendung>& sendungen, int abtastrate, double pause = 0.8);

// Gaussian white noise at `snrDb` below a sine of the default transmit level
// (Ausgangspegel 60 of 128), the same on any rate; reproducible from `saat`.
class Rauschen {
public:
    Rauschen(double snrDb, std::uint32_t saat);
    void hinzu(std::span<float> proben);

private:
    std::mt19937 zufall_;
    std::normal_distribution<float> verteilung_;
};

// Rounds to 16 bits, clipping at full scale.
std::vector<std::int16_t> nach16Bit(std::span<const float> proben);

}  // namespace tonwerk::werkzeug
