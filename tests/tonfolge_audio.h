// Test audio for the tone decoders: sine synthesis with seamless phase and noise.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "einspeiser.h"

namespace tonwerk::testaudio {

// Mono signal in full-scale units (-1..1) at a given rate, built piece by piece.
struct Signal {
    int rate = 11025;
    std::vector<double> x;
    double phase = 0.0;  // radians, carried between tones so that sequences are seamless

    Signal& ton(double hz, double sekunden, double amplitude = 0.5) {
        const auto n = static_cast<long>(std::lround(sekunden * rate));
        for (long i = 0; i < n; ++i) {
            x.push_back(amplitude * std::sin(phase));
            phase += 2.0 * M_PI * hz / rate;
        }
        phase = std::fmod(phase, 2.0 * M_PI);
        return *this;
    }
    Signal& stille(double sekunden) {
        x.insert(x.end(), static_cast<std::size_t>(std::lround(sekunden * rate)), 0.0);
        return *this;
    }
    // White Gaussian noise of the given RMS added to the signal so far, from sample `ab` on.
    Signal& rauschen(double rms, unsigned saat = 1, std::size_t ab = 0) {
        std::mt19937 gen(saat);
        std::normal_distribution<double> nd(0.0, rms);
        for (std::size_t i = ab; i < x.size(); ++i) x[i] += nd(gen);
        return *this;
    }
    // A pause of the given length filled with noise, to end the tone before it.
    Signal& rauschpause(double sekunden, double rms, unsigned saat = 1) {
        const std::size_t ab = x.size();
        stille(sekunden);
        return rauschen(rms, saat, ab);
    }
};

using test::alsByte;
using test::einspeisen;
using test::Einspeiser;
using test::einstellungenFuer;
using test::konstantenFuer;
using test::stereo;

}  // namespace tonwerk::testaudio
