#include "tonwerk/empfang/fms_aufbereitung.h"

#include <algorithm>
#include <cmath>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The discriminator is smoothed over about three samples before the flip test;
// that halves the flips noise makes at 6 dB and lets the flip threshold sit
// close to zero, where a weak signal still crosses it.
constexpr float kDGlaettung = 0.3f;
constexpr float kFlip = 0.05f;
constexpr float kOeffnen = 0.55f, kSchliessen = 0.45f;
constexpr float kBandAnteil = 0.5f;
constexpr int kNeuBerechnen = 4096;  // samples between exact recomputations of the sums

}  // namespace

void FmsAufbereitung::einrichten(Long abtastrate) {
    rateAus_ = NormaleAbtastrate(abtastrate);
    constexpr double rate = 11025.0;
    bitLaenge_ = rate / 1200.0;
    schritt_ = 1.0 / bitLaenge_;
    fenster_ = static_cast<int>(std::lround(bitLaenge_));
    periode_ = static_cast<int>(rate) / 75;  // 1200 and 1800 Hz are multiples of 75 Hz
    dreh1200_.resize(static_cast<std::size_t>(periode_));
    dreh1800_.resize(static_cast<std::size_t>(periode_));
    for (int i = 0; i < periode_; ++i) {
        dreh1200_[static_cast<std::size_t>(i)] = std::polar(1.0f, static_cast<float>(-2.0 * kPi * 1200.0 * i / rate));
        dreh1800_[static_cast<std::size_t>(i)] = std::polar(1.0f, static_cast<float>(-2.0 * kPi * 1800.0 * i / rate));
    }
    ring1200_.assign(static_cast<std::size_t>(fenster_), {});
    ring1800_.assign(static_cast<std::size_t>(fenster_), {});
    ringX_.assign(static_cast<std::size_t>(fenster_), 0.0f);
    summe1200_ = summe1800_ = {};
    energie_ = gleich_ = 0;
    n_ = ringPos_ = seitNeu_ = 0;
    anteil_ = dGlatt_ = 0;
    band_ = Biquad::entwerfen(Biquad::Art::Bandpass, rate, std::sqrt(1200.0 * 1800.0), 1.3);
    imBand_ = gesamt_ = 0;
    offen_ = false;
    eins_ = true;
    phase_ = bruchteil_ = 0;
    bitsOhneFlanke_ = 0;
    verzugBit_.fill(true);
    verzugOffen_.fill(false);
    verzugPos_ = 0;
}

void FmsAufbereitung::verarbeiten(const float* eingang, int anzahl, Laufschreiber& aus) {
    const float normierung = 0.5f * static_cast<float>(fenster_);
    const float kehrFenster = 1.0f / static_cast<float>(fenster_);
    const auto glaettung = static_cast<float>(1.0 / (4.0 * bitLaenge_));
    // The state lives in locals through the loop: the input could alias the
    // members as far as the compiler knows, which would store them every sample.
    std::complex<float> summe1200 = summe1200_, summe1800 = summe1800_;
    float energie = energie_, gleich = gleich_, anteilGlatt = anteil_, dGlatt = dGlatt_;
    float imBand = imBand_, gesamt = gesamt_;
    Biquad band = band_;
    bool offen = offen_, eins = eins_;
    double phase = phase_;
    int n = n_, ringPos = ringPos_, seitNeu = seitNeu_, bitsOhneFlanke = bitsOhneFlanke_;
    std::complex<float>* const ring1200 = ring1200_.data();
    std::complex<float>* const ring1800 = ring1800_.data();
    float* const ringX = ringX_.data();
    const std::complex<float>* const dreh1200 = dreh1200_.data();
    const std::complex<float>* const dreh1800 = dreh1800_.data();
    for (int i = 0; i < anzahl; ++i) {
        const float x = eingang[i];
        const int r = ringPos;
        const std::complex<float> a = x * dreh1200[n];
        const std::complex<float> b = x * dreh1800[n];
        summe1200 += a - ring1200[r];
        summe1800 += b - ring1800[r];
        energie += x * x - ringX[r] * ringX[r];
        gleich += x - ringX[r];
        ring1200[r] = a;
        ring1800[r] = b;
        ringX[r] = x;
        if (++ringPos == fenster_) ringPos = 0;
        if (++n == periode_) n = 0;
        if (++seitNeu == kNeuBerechnen) {
            // Rounding in the running sums is removed before it can build up.
            seitNeu = 0;
            summe1200 = summe1800 = {};
            energie = gleich = 0;
            for (int k = 0; k < fenster_; ++k) {
                summe1200 += ring1200[k];
                summe1800 += ring1800[k];
                energie += ringX[k] * ringX[k];
                gleich += ringX[k];
            }
        }

        // Float and one reciprocal: this runs for every sample of both channels.
        const float wechsel = energie - gleich * gleich * kehrFenster;
        const float p1200 = std::norm(summe1200), p1800 = std::norm(summe1800);
        float d = 0, anteil = 0;
        if (wechsel > 1e-3f) {
            const float kehr = 1.0f / (normierung * wechsel);
            d = (p1200 - p1800) * kehr;
            anteil = std::max(p1200, p1800) * kehr;
        }
        anteilGlatt += (std::min(anteil, 1.5f) - anteilGlatt) * glaettung;
        const float gefiltert = band.schritt(x);
        imBand += (gefiltert * gefiltert - imBand) * glaettung;
        gesamt += (x * x - gesamt) * glaettung;
        offen = imBand > kBandAnteil * gesamt && (offen ? anteilGlatt > kSchliessen : anteilGlatt > kOeffnen);

        dGlatt += kDGlaettung * (d - dGlatt);
        if (eins ? dGlatt < -kFlip : dGlatt > kFlip) {
            eins = !eins;
            // The first edge after a long steady stretch sets the clock; later
            // ones pull it part of the way.
            const double fehler = phase < 0.5 ? phase : phase - 1.0;
            phase -= (bitsOhneFlanke > 8 ? 1.0 : 0.3) * fehler;
            if (phase < 0) phase += 1.0;
            bitsOhneFlanke = 0;
        }
        const double vorher = phase;
        phase += schritt_;
        if (phase >= 1.0) phase -= 1.0;
        if (vorher < 0.5 && phase >= 0.5) {
            ++bitsOhneFlanke;
            offen_ = offen;
            eins_ = eins;
            bitSchreiben(aus);
        }
    }
    summe1200_ = summe1200;
    summe1800_ = summe1800;
    energie_ = energie;
    gleich_ = gleich;
    anteil_ = anteilGlatt;
    imBand_ = imBand;
    gesamt_ = gesamt;
    band_ = band;
    dGlatt_ = dGlatt;
    offen_ = offen;
    eins_ = eins;
    phase_ = phase;
    n_ = n;
    ringPos_ = ringPos;
    seitNeu_ = seitNeu;
    bitsOhneFlanke_ = bitsOhneFlanke;
}

void FmsAufbereitung::bitSchreiben(Laufschreiber& aus) {
    // The bit of kVerzug bits ago is written as signal when the gate is open
    // now or was open then.
    const auto v = static_cast<std::size_t>(verzugPos_);
    const bool signal = offen_ || verzugOffen_[v];
    const bool eins = verzugBit_[v];
    verzugBit_[v] = eins_;
    verzugOffen_[v] = offen_;
    verzugPos_ = (verzugPos_ + 1) % kVerzug;
    if (!signal) {
        halbwellen(1, rateAus_ / 1200.0, aus);
    } else if (eins) {
        halbwellen(2, rateAus_ / 2400.0, aus);
    } else {
        halbwellen(3, rateAus_ / 3600.0, aus);
    }
}

void FmsAufbereitung::halbwellen(int anzahl, double laenge, Laufschreiber& aus) {
    // A short half-wave is written rounded down and its fraction is carried into
    // the next long ones: at 11025 Hz a short one of 3.06 samples rounded up to 4
    // reads as long, and a zero read as part of the preamble shifts the telegram
    // by a bit, which its check word (a cyclic code) does not catch. A long
    // half-wave takes at most one sample more than its length rounded up, so it
    // stays long; what is left over waits for the next one.
    const double ganzLaenge = std::floor(laenge);
    const bool kurz = anzahl == 3;
    const double hoechstens = std::ceil(laenge) + 1.0;
    for (int i = 0; i < anzahl; ++i) {
        double ganz = ganzLaenge;
        if (kurz) {
            bruchteil_ += laenge - ganzLaenge;
        } else {
            bruchteil_ += laenge;
            ganz = std::min(std::floor(bruchteil_), hoechstens);
            bruchteil_ -= ganz;
        }
        aus.weiter(static_cast<std::int32_t>(ganz));
        aus.wechsel();
    }
}

}  // namespace tonwerk
