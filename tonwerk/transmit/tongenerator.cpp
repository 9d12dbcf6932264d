#include "tonwerk/transmit/tongenerator.h"

#include <cmath>
#include <numbers>

namespace tonwerk {

namespace {

// The transmitted waveform depends on this value; it is not pi.
constexpr double kPi = 3.1416;

// Phase after one step: the sum rounded half to even, as the phase is a whole number.
Integer weiter(Integer phase, double schritt) {
    return static_cast<Integer>(std::nearbyint(static_cast<double>(phase) + schritt));
}

}  // namespace

std::uint8_t Abtastwert(int phase, int pegel) {
    const double x = kPi / 180.0 * static_cast<double>(phase);
    const double y = std::sin(x) * static_cast<double>(pegel);
    return static_cast<std::uint8_t>(static_cast<int>(std::floor(y)) + 128);
}

std::uint8_t AbtastwertGenau(double phase, int pegel) {
    const double y = std::sin(std::numbers::pi / 180.0 * phase) * static_cast<double>(pegel);
    return static_cast<std::uint8_t>(static_cast<int>(std::floor(y)) + 128);
}

double Schrittweite(double f) { return 360.0 / (static_cast<double>(kSendeAbtastrate) / f); }

void Tongenerator::neu() {
    proben_.clear();
    Phase = 0;
    Phase2 = 0;
    Phase3 = 0;
    PhaseGenau = 0.0;
    Phase2Genau = 0.0;
    Phase3Genau = 0.0;
    zveiSchritt_ = 0.0;
}

void Tongenerator::SchreibeStille(Long n) { SchreibeProben(n, 128); }

void Tongenerator::SchreibeProben(Long n, std::uint8_t wert) {
    if (n > 0) proben_.insert(proben_.end(), static_cast<std::size_t>(n), wert);
}

void Tongenerator::SchreibeFfskBits(std::string_view bits) {
    if (genau_) return ffskGenau(bits);
    const double schrittEins = Schrittweite(1200);
    const double schrittNull = Schrittweite(1800);
    Phase = 0;
    int ziel = 360;
    for (const char bit : bits) {
        const bool eins = bit == '1';
        const double schritt = eins ? schrittEins : schrittNull;
        const int halbwellen = eins ? 2 : 3;
        for (int h = 0; h < halbwellen; ++h) {
            ziel = ziel == 180 ? 360 : 180;
            while (Phase < ziel) {
                schreibe(Phase);
                Phase = weiter(Phase, schritt);
            }
            if (Phase > 359) Phase = static_cast<Integer>(Phase - 360);
        }
    }
}

void Tongenerator::SchreibeZveiTon(double f) {
    if (genau_) return zveiTonGenau(f);
    const double schritt = Schrittweite(f);
    const auto perioden = static_cast<long>(std::floor(70.0 / (1000.0 / f) + 0.5));
    for (long z = 0; z < perioden; ++z) {
        while (Phase < 360) {
            schreibe(Phase);
            Phase = weiter(Phase, schritt);
        }
        Phase = static_cast<Integer>(Phase - 360);
    }
}

void Tongenerator::SchreibeDauerton(double f, Long n) {
    if (genau_) return dauertonGenau(f, n);
    const double schritt = Schrittweite(f);
    Phase = 0;
    for (Long i = 0; i < n; ++i) {
        schreibe(Phase);
        Phase = weiter(Phase, schritt);
        if (Phase >= 360) Phase = static_cast<Integer>(Phase - 360);
    }
}

void Tongenerator::SchreibeZweiton(double f1, double f2) {
    if (genau_) return zweitonGenau(f1, f2);
    const double schritt1 = Schrittweite(f1);
    const double schritt2 = Schrittweite(f2);
    Phase2 = 0;
    Phase3 = 0;
    for (int i = 0; i < 55125; ++i) {
        const int a = Abtastwert(Phase2, pegel_);
        const int b = Abtastwert(Phase3, pegel_);
        proben_.push_back(static_cast<std::uint8_t>(std::nearbyint((a + b) / 2.0)));
        Phase2 = weiter(Phase2, schritt1);
        if (Phase2 >= 360) Phase2 = static_cast<Integer>(Phase2 - 360);
        Phase3 = weiter(Phase3, schritt2);
        if (Phase3 >= 360) Phase3 = static_cast<Integer>(Phase3 - 360);
    }
}

// Exact mode: the same loops on a fractional phase that is never rounded. A
// half-cycle or tone still ends at the first sample on or past its boundary; the
// overshoot past the boundary is time already spent, so when the frequency changes
// it is rescaled to the new step. The phase stays continuous and every bit and tone
// keeps its nominal length (a bit 1/1200 s) instead of drifting by a sample fraction.

namespace {

// `phase` past `grenze` at step `alt`, moved to step `neu` for the same time.
double umgerechnet(double phase, double grenze, double alt, double neu) {
    return alt == neu ? phase : grenze + (phase - grenze) * neu / alt;
}

}  // namespace

void Tongenerator::ffskGenau(std::string_view bits) {
    const double schrittEins = Schrittweite(1200);
    const double schrittNull = Schrittweite(1800);
    PhaseGenau = 0.0;
    double ziel = 360.0;
    double vorher = 0.0;  // step of the bit before; the first bit starts on its boundary
    for (const char bit : bits) {
        const bool eins = bit == '1';
        const double schritt = eins ? schrittEins : schrittNull;
        const int halbwellen = eins ? 2 : 3;
        if (vorher != 0.0) PhaseGenau = umgerechnet(PhaseGenau, ziel == 360.0 ? 0.0 : 180.0, vorher, schritt);
        vorher = schritt;
        for (int h = 0; h < halbwellen; ++h) {
            ziel = ziel == 180.0 ? 360.0 : 180.0;
            while (PhaseGenau < ziel) {
                schreibe(PhaseGenau);
                PhaseGenau += schritt;
            }
            if (PhaseGenau >= 360.0) PhaseGenau -= 360.0;
        }
    }
}

void Tongenerator::zveiTonGenau(double f) {
    const double schritt = Schrittweite(f);
    // A sequence starts at phase 0; later tones take over the last one's overshoot.
    if (PhaseGenau > 0.0 && zveiSchritt_ > 0.0) PhaseGenau = umgerechnet(PhaseGenau, 0.0, zveiSchritt_, schritt);
    zveiSchritt_ = schritt;
    const auto perioden = static_cast<long>(std::floor(70.0 / (1000.0 / f) + 0.5));
    for (long z = 0; z < perioden; ++z) {
        while (PhaseGenau < 360.0) {
            schreibe(PhaseGenau);
            PhaseGenau += schritt;
        }
        PhaseGenau -= 360.0;
    }
}

void Tongenerator::dauertonGenau(double f, Long n) {
    const double schritt = Schrittweite(f);
    PhaseGenau = 0.0;
    for (Long i = 0; i < n; ++i) {
        schreibe(PhaseGenau);
        PhaseGenau += schritt;
        if (PhaseGenau >= 360.0) PhaseGenau -= 360.0;
    }
}

void Tongenerator::zweitonGenau(double f1, double f2) {
    const double schritt1 = Schrittweite(f1);
    const double schritt2 = Schrittweite(f2);
    Phase2Genau = 0.0;
    Phase3Genau = 0.0;
    for (int i = 0; i < 55125; ++i) {
        const int a = AbtastwertGenau(Phase2Genau, pegel_);
        const int b = AbtastwertGenau(Phase3Genau, pegel_);
        proben_.push_back(static_cast<std::uint8_t>(std::nearbyint((a + b) / 2.0)));
        Phase2Genau += schritt1;
        if (Phase2Genau >= 360.0) Phase2Genau -= 360.0;
        Phase3Genau += schritt2;
        if (Phase3Genau >= 360.0) Phase3Genau -= 360.0;
    }
}

}  // namespace tonwerk
