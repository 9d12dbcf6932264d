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
    for (int i = 0; i < anzahl; ++i) {
        const float x = eingang[i];
        const auto r = static_cast<std::size_t>(ringPos_);
        const std::complex<float> a = x * dreh1200_[static_cast<std::size_t>(n_)];
        const std::complex<float> b = x * dreh1800_[static_cast<std::size_t>(n_)];
        summe1200_ += a - ring1200_[r];
        summe1800_ += b - ring1800_[r];
        energie_ += x * x - ringX_[r] * ringX_[r];
        gleich_ += x - ringX_[r];
        ring1200_[r] = a;
        ring1800_[r] = b;
        ringX_[r] = x;
        if (++ringPos_ == fenster_) ringPos_ = 0;
        if (++n_ == periode_) n_ = 0;
        if (++seitNeu_ == kNeuBerechnen) {
            // Rounding in the running sums is removed before it can build up.
            seitNeu_ = 0;
            summe1200_ = summe1800_ = {};
            energie_ = gleich_ = 0;
            for (int k = 0; k < fenster_; ++k) {
                const auto s = static_cast<std::size_t>(k);
                summe1200_ += ring1200_[s];
                summe1800_ += ring1800_[s];
                energie_ += ringX_[s] * ringX_[s];
                gleich_ += ringX_[s];
            }
        }

        // Float and one reciprocal: this runs for every sample of both channels.
        const float wechsel = energie_ - gleich_ * gleich_ * kehrFenster;
        const float p1200 = std::norm(summe1200_), p1800 = std::norm(summe1800_);
        float d = 0, anteil = 0;
        if (wechsel > 1e-3f) {
            const float kehr = 1.0f / (normierung * wechsel);
            d = (p1200 - p1800) * kehr;
            anteil = std::max(p1200, p1800) * kehr;
        }
        anteil_ += (std::min(anteil, 1.5f) - anteil_) * glaettung;
        offen_ = offen_ ? anteil_ > kSchliessen : anteil_ > kOeffnen;

        dGlatt_ += kDGlaettung * (d - dGlatt_);
        if (eins_ ? dGlatt_ < -kFlip : dGlatt_ > kFlip) {
            eins_ = !eins_;
            // The first edge after a long steady stretch sets the clock; later
            // ones pull it half way.
            const double fehler = phase_ < 0.5 ? phase_ : phase_ - 1.0;
            phase_ -= (bitsOhneFlanke_ > 8 ? 1.0 : 0.3) * fehler;
            if (phase_ < 0) phase_ += 1.0;
            bitsOhneFlanke_ = 0;
        }
        const double vorher = phase_;
        phase_ += schritt_;
        if (phase_ >= 1.0) phase_ -= 1.0;
        if (vorher < 0.5 && phase_ >= 0.5) {
            ++bitsOhneFlanke_;
            bitSchreiben(aus);
        }
    }
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
