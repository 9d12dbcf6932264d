// Tone synthesis for every transmission: 8-bit mono samples at 11025 Hz, 128 being
// the zero line. Phases are whole degrees; after each sample a phase advances by
// the step of its frequency and is rounded half to even, and sines use 3.1416 in
// place of pi. Both quirks are part of the on-air waveform and are kept so that
// identical calls produce identical bytes.
// In exact mode (setzeGenau) the phases are fractional and the sine uses pi, so
// every tone is sent at its nominal frequency; counts, levels and continuity of
// phase stay as above.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "tonwerk/core/records.h"

namespace tonwerk {

inline constexpr Long kSendeAbtastrate = 11025;

// Sample of phase `phase` (degrees) at level `pegel`: floor(sin(3.1416/180 * phase) * pegel) + 128.
std::uint8_t Abtastwert(int phase, int pegel);

// The same with a fractional phase and pi: the sample of an exact tone.
std::uint8_t AbtastwertGenau(double phase, int pegel);

// Degrees per sample for frequency f at 11025 Hz.
double Schrittweite(double f);

// Collects the samples of one transmission. The phases are state shared by the
// generators, as a sender may carry them from one tone to the next.
class Tongenerator {
public:
    // Levels outside 0..127 are clamped so that every sample stays a byte.
    explicit Tongenerator(Integer pegel = 60) : pegel_(begrenzt(pegel)) {}

    Integer Phase = 0;   // single tone, ZVEI tone and FFSK
    Integer Phase2 = 0;  // first tone of the two-tone generator
    Integer Phase3 = 0;  // second tone of the two-tone generator
    // Exact mode's counterparts of Phase, Phase2 and Phase3, in degrees.
    double PhaseGenau = 0.0;
    double Phase2Genau = 0.0;
    double Phase3Genau = 0.0;

    Integer pegel() const { return pegel_; }
    void setzePegel(Integer pegel) { pegel_ = begrenzt(pegel); }
    // True: tones at their exact frequency instead of whole-degree steps.
    bool genau() const { return genau_; }
    void setzeGenau(bool genau) { genau_ = genau; }

    // Starts a new transmission: no samples, phases 0.
    void neu();

    void SchreibeStille(Long n);
    // n samples of one raw value (baseband levels).
    void SchreibeProben(Long n, std::uint8_t wert);
    // FFSK of a bit string: "1" is one cycle of 1200 Hz, anything else 1.5 cycles of 1800 Hz.
    void SchreibeFfskBits(std::string_view bits);
    // About 70 ms of whole cycles of f, continuing from Phase.
    void SchreibeZveiTon(double f);
    // n samples of f from phase 0.
    void SchreibeDauerton(double f, Long n);
    // Five seconds of the mean of two tones, both from phase 0.
    void SchreibeZweiton(double f1, double f2);

    Long Probenzahl() const { return static_cast<Long>(proben_.size()); }
    std::span<const std::uint8_t> Proben() const { return proben_; }

private:
    static Integer begrenzt(Integer p) { return p < 0 ? Integer{0} : p > 127 ? Integer{127} : p; }
    void schreibe(int phase) { proben_.push_back(Abtastwert(phase, pegel_)); }
    void schreibe(double phase) { proben_.push_back(AbtastwertGenau(phase, pegel_)); }
    void ffskGenau(std::string_view bits);
    void zveiTonGenau(double f);
    void dauertonGenau(double f, Long n);
    void zweitonGenau(double f1, double f2);

    Integer pegel_;
    bool genau_ = false;
    double zveiSchritt_ = 0.0;  // step of the last exact ZVEI tone
    std::vector<std::uint8_t> proben_;
};

}  // namespace tonwerk
