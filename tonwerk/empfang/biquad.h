// Second-order IIR section in float (transposed direct form II), with the
// usual low-, high- and band-pass designs from bilinear-transformed analogue
// prototypes. Float suffices: the input has 8 bits and the sections used here
// have poles well inside the unit circle.
#pragma once

#include <cmath>

namespace tonwerk {

struct Biquad {
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float z1 = 0, z2 = 0;

    float schritt(float x) {
        const float y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
    void ruecksetzen() { z1 = z2 = 0; }

    enum class Art { Tiefpass, Hochpass, Bandpass };

    // Corner (or centre) frequency `f` in Hz at rate `fs`, quality `q`.
    static Biquad entwerfen(Art art, double fs, double f, double q) {
        const double w = 2.0 * 3.14159265358979323846 * f / fs;
        const double c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        double b0 = 0, b1 = 0, b2 = 0;
        switch (art) {
            case Art::Tiefpass: b0 = (1 - c) / 2; b1 = 1 - c; b2 = (1 - c) / 2; break;
            case Art::Hochpass: b0 = (1 + c) / 2; b1 = -(1 + c); b2 = (1 + c) / 2; break;
            case Art::Bandpass: b0 = alpha; b1 = 0; b2 = -alpha; break;
        }
        Biquad s;
        s.b0 = static_cast<float>(b0 / a0);
        s.b1 = static_cast<float>(b1 / a0);
        s.b2 = static_cast<float>(b2 / a0);
        s.a1 = static_cast<float>(-2.0 * c / a0);
        s.a2 = static_cast<float>((1.0 - alpha) / a0);
        return s;
    }
};

}  // namespace tonwerk
