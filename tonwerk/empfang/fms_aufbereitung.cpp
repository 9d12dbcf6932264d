#include "tonwerk/empfang/fms_aufbereitung.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>

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
    for (int anzahl = 1; anzahl <= 3; ++anzahl) {
        // One half-wave of 1/1200 s for no signal, two of 1/2400 s for a one, three of 1/3600 s for a zero.
        const double laenge = rateAus_ / (1200.0 * anzahl);
        laengen_[static_cast<std::size_t>(anzahl - 1)] = {laenge, std::floor(laenge), std::ceil(laenge) + 1.0};
    }
    constexpr double rate = 11025.0;
    bitLaenge_ = rate / 1200.0;
    schritt_ = 1.0 / bitLaenge_;
    fenster_ = static_cast<int>(std::lround(bitLaenge_));
    periode_ = static_cast<int>(rate) / 75;  // 1200 and 1800 Hz are multiples of 75 Hz
    std::vector<V4> periode(static_cast<std::size_t>(periode_));
    for (int i = 0; i < periode_; ++i) {
        const std::complex<float> d1200 = std::polar(1.0f, static_cast<float>(-2.0 * kPi * 1200.0 * i / rate));
        const std::complex<float> d1800 = std::polar(1.0f, static_cast<float>(-2.0 * kPi * 1800.0 * i / rate));
        periode[static_cast<std::size_t>(i)] = V4{d1200.real(), d1200.imag(), d1800.real(), d1800.imag()};
    }
    dreh_.resize(static_cast<std::size_t>(periode_ + kStueck + fenster_));
    for (int j = 0; j < static_cast<int>(dreh_.size()); ++j)
        dreh_[static_cast<std::size_t>(j)] = periode[static_cast<std::size_t>((j - fenster_ + periode_) % periode_)];
    verlauf_.fill(0.0f);
    summe_ = V4{};
    energie_ = gleich_ = 0;
    n_ = seitNeu_ = 0;
    const Biquad b = Biquad::entwerfen(Biquad::Art::Bandpass, rate, std::sqrt(1200.0 * 1800.0), 1.3);
    band_ = Band{};
    band_.b0 = b.b0;
    band_.b1 = b.b1;
    band_.b2 = b.b2;
    band_.a1 = b.a1;
    band_.a2 = b.a2;
    glatt_ = glattVor_ = zuwachsVor_ = V4{};
    offen_ = false;
    eins_ = true;
    phase_ = bruchteil_ = 0;
    bitsOhneFlanke_ = 0;
    verzugBit_.fill(true);
    verzugOffen_.fill(false);
    verzugPos_ = 0;
}

void FmsAufbereitung::verarbeiten(const float* eingang, int anzahl, Laufschreiber& aus) {
    for (int i = 0; i < anzahl; i += kStueck) stueck(eingang + i, std::min(kStueck, anzahl - i), aus);
}

void FmsAufbereitung::stueck(const float* eingang, int anzahl, Laufschreiber& aus) {
    // Per sample of the stretch; padded to whole vectors.
    alignas(16) float energien[kStueck], gleiche[kStueck], imBand[kStueck];
    alignas(16) V4 quadrate[kStueck];
    alignas(16) V4 glattEin[kStueck];

    // 1. The sliding DFT and the band-pass: serial sums. The samples leaving
    // the window are read from the stretch behind the last ones of the one
    // before, and their products computed again (the same values). The state
    // lives in locals through the loop: the input could alias the members as
    // far as the compiler knows, which would store them every sample.
    {
        float x[kFensterMax + kStueck];
        std::copy(verlauf_.begin(), verlauf_.begin() + fenster_, x);
        std::copy(eingang, eingang + anzahl, x + fenster_);
        const V4* const dreh = dreh_.data() + n_;
        V4 summe = summe_;
        float energie = energie_, gleich = gleich_;
        if (seitNeu_ >= kNeuBerechnen) {
            // Rounding in the running sums is removed before it can build up.
            seitNeu_ = 0;
            summe = V4{};
            energie = gleich = 0;
            for (int k = 0; k < fenster_; ++k) {
                summe += x[k] * dreh[k];
                energie += x[k] * x[k];
                gleich += x[k];
            }
        }
        Band band = band_;
        const float* const neu = x + fenster_;
        const V4* const drehNeu = dreh + fenster_;
        for (int i = 0; i < anzahl; ++i) {
            const float xn = neu[i], xa = x[i];
            summe += xn * drehNeu[i] - xa * dreh[i];
            energie += xn * xn - xa * xa;
            gleich += xn - xa;
            quadrate[i] = summe * summe;
            energien[i] = energie;
            gleiche[i] = gleich;
            const float w = band.b0 * xn + band.b1 * band.x1 + band.b2 * band.x2 - band.a2 * band.y2;
            const float y = w - band.a1 * band.y1;
            band.x2 = band.x1;
            band.x1 = xn;
            band.y2 = band.y1;
            band.y1 = y;
            imBand[i] = y * y;
        }
        std::copy(x + anzahl, x + anzahl + fenster_, verlauf_.begin());
        summe_ = summe;
        energie_ = energie;
        gleich_ = gleich;
        band_ = band;
        n_ = (n_ + anzahl) % periode_;
        seitNeu_ += anzahl;
    }

    // 2. The discriminator and the tone share, four samples at a time (one
    // division each, in float: this runs for every sample of both channels).
    {
        const float normierung = 0.5f * static_cast<float>(fenster_);
        const float kehrFenster = 1.0f / static_cast<float>(fenster_);
        for (int i = anzahl; i % 4 != 0; ++i) {
            quadrate[i] = V4{};
            energien[i] = gleiche[i] = imBand[i] = 0;
        }
        const auto laden = [](const float* p) {
            V4 v;
            std::memcpy(&v, p, sizeof v);
            return v;
        };
        const auto glaettung = static_cast<float>(1.0 / (4.0 * bitLaenge_));
        const V4 faktor{glaettung, glaettung, glaettung, kDGlaettung};
        const V4 rest = 1.0f - faktor;
        V4 zuwachsVor = zuwachsVor_;
        for (int i = 0; i < anzahl; i += 4) {
            // The four samples' squares, transposed: a holds |X(1200)|^2 of each.
            const V4 t0 = __builtin_shufflevector(quadrate[i], quadrate[i + 1], 0, 4, 1, 5);
            const V4 t1 = __builtin_shufflevector(quadrate[i + 2], quadrate[i + 3], 0, 4, 1, 5);
            const V4 t2 = __builtin_shufflevector(quadrate[i], quadrate[i + 1], 2, 6, 3, 7);
            const V4 t3 = __builtin_shufflevector(quadrate[i + 2], quadrate[i + 3], 2, 6, 3, 7);
            const V4 a = __builtin_shufflevector(t0, t1, 0, 1, 4, 5) + __builtin_shufflevector(t0, t1, 2, 3, 6, 7);
            const V4 b = __builtin_shufflevector(t2, t3, 0, 1, 4, 5) + __builtin_shufflevector(t2, t3, 2, 3, 6, 7);
            const V4 e = laden(energien + i), g = laden(gleiche + i);
            const V4 wechsel = e - g * g * kehrFenster;
            const auto gueltig = wechsel > 1e-3f;
            const V4 kehr = 1.0f / (normierung * (gueltig ? wechsel : V4{} + 1.0f));
            const V4 null{};
            const V4 d = gueltig ? (a - b) * kehr : null;
            const V4 staerker = a > b ? a : b;
            V4 anteil = gueltig ? staerker * kehr : null;
            anteil = anteil < 1.5f ? anteil : V4{} + 1.5f;
            for (int j = 0; j < 4 && i + j < anzahl; ++j) {
                const float x = eingang[i + j];
                const V4 zuwachs = V4{anteil[j], imBand[i + j], x * x, d[j]} * faktor;
                glattEin[i + j] = rest * zuwachsVor + zuwachs;
                zuwachsVor = zuwachs;
            }
        }
        zuwachsVor_ = zuwachsVor;
    }

    // 3. Smoothing, gate and bit clock.
    const auto glaettung = static_cast<float>(1.0 / (4.0 * bitLaenge_));
    const V4 rest = 1.0f - V4{glaettung, glaettung, glaettung, kDGlaettung};
    const V4 rest2 = rest * rest;
    V4 glatt = glatt_, glattVor = glattVor_;
    bool offen = offen_, eins = eins_;
    double phase = phase_;
    int bitsOhneFlanke = bitsOhneFlanke_;
    for (int i = 0; i < anzahl; ++i) {
        const V4 neu = rest2 * glattVor + glattEin[i];
        glattVor = glatt;
        glatt = neu;
        const float anteilGlatt = glatt[0], dGlatt = glatt[3];
        offen = glatt[1] > kBandAnteil * glatt[2] && (offen ? anteilGlatt > kSchliessen : anteilGlatt > kOeffnen);
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
    glatt_ = glatt;
    glattVor_ = glattVor;
    offen_ = offen;
    eins_ = eins;
    phase_ = phase;
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
    halbwellen(!signal ? 1 : eins ? 2 : 3, aus);
}

void FmsAufbereitung::halbwellen(int anzahl, Laufschreiber& aus) {
    // A short half-wave is written rounded down and its fraction is carried into
    // the next long ones: at 11025 Hz a short one of 3.06 samples rounded up to 4
    // reads as long, and a zero read as part of the preamble shifts the telegram
    // by a bit, which its check word (a cyclic code) does not catch. A long
    // half-wave takes at most one sample more than its length rounded up, so it
    // stays long; what is left over waits for the next one.
    // The carried fraction never goes below zero, so truncating it rounds it down.
    const Halbwellenlaenge& l = laengen_[static_cast<std::size_t>(anzahl - 1)];
    const bool kurz = anzahl == 3;
    for (int i = 0; i < anzahl; ++i) {
        double ganz = l.ganz;
        if (kurz) {
            bruchteil_ += l.laenge - l.ganz;
        } else {
            bruchteil_ += l.laenge;
            ganz = std::min(static_cast<double>(static_cast<std::int64_t>(bruchteil_)), l.hoechstens);
            bruchteil_ -= ganz;
        }
        aus.weiter(static_cast<std::int32_t>(ganz));
        aus.wechsel();
    }
}

}  // namespace tonwerk
