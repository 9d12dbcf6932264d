#include "tonwerk/empfang/poc_aufbereitung.h"

#include <algorithm>
#include <cmath>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

namespace {

constexpr double kGlaettungBits = 3;  // of the carrier test's energies
constexpr double kTraegerAn = 1.5, kTraegerAus = 1.7;
// Power below 1/100 of the carrier's (its peak, halving over 44 bits) for 18
// bits is silence or far weaker noise. An AC-coupled line sags that low in a
// long run of equal bits after about 16 bits, and such runs can be 30 bits
// long; with the detection delay a run still ends within 64 bits.
constexpr double kStille = 1.0 / 100;
constexpr double kSpitzeJeBit = 1.0 - 1.0 / 64;
constexpr int kStilleBits = 18;

}  // namespace

void PocAufbereitung::einrichten(Long abtastrate, Long baud) {
    const double b = baud == 1200 ? 1200.0 : 512.0;
    bitAus_ = NormaleAbtastrate(abtastrate) / b;
    bitLaenge_ = 11025.0 / b;
    schritt_ = 1.0 / bitLaenge_;
    phase_ = bruchteil_ = 0;
    integral_ = 0;
    bit_ = std::max(2, static_cast<int>(std::lround(bitLaenge_)));
    ring_.assign(static_cast<std::size_t>(2 * bit_), 0);
    pos_ = 0;
    neu_ = alt_ = 0;
    hoch_ = false;
    spitze_ = 0;
    kantenHoehe_ = 0;
    glaettung_ = 1.0 / (kGlaettungBits * bitLaenge_);
    vorige_ = 0;
    stufen_ = energie_ = 0;
    stilleBits_ = 0;
    traegerSpitze_ = 0;
    traeger_ = false;
    kurzerLauf_ = std::max(1.0, std::floor(bitAus_ / 4));
    kurzRest_ = 0;
}

void PocAufbereitung::verarbeiten(const float* eingang, int anzahl, Laufschreiber& aus) {
    const int laenge = 2 * bit_;
    // A flat line of 8-bit samples still flickers by one step; an edge must
    // be more than that over a whole bit.
    const double boden = 2.0 * bit_;
    for (int n = 0; n < anzahl; ++n) {
        // Inverse of a 100 Hz first-order high-pass at 11025 Hz, its integral leaking at 5 Hz.
        constexpr double kKopplung = 2 * 3.14159265358979 * 100.0 / 11025.0;
        constexpr double kLeck = 1.0 - 2 * 3.14159265358979 * 5.0 / 11025.0;
        integral_ = integral_ * kLeck + eingang[n];
        const auto x = static_cast<float>(eingang[n] + kKopplung * integral_);
        {
            // The carrier test reads the input as it came: the coupling's
            // inverse would lift the slow part of noise.
            const float y = eingang[n];
            const float schritt = y - vorige_;
            vorige_ = y;
            stufen_ += (static_cast<double>(schritt) * schritt - stufen_) * glaettung_;
            energie_ += (static_cast<double>(y) * y - energie_) * glaettung_;
        }
        int mitte = pos_ + bit_;
        if (mitte >= laenge) mitte -= laenge;
        const float ueberBit = ring_[static_cast<std::size_t>(mitte)];  // leaves the last bit
        const float ueberZwei = ring_[static_cast<std::size_t>(pos_)];  // leaves the bit before
        neu_ += static_cast<double>(x) - ueberBit;
        alt_ += static_cast<double>(ueberBit) - ueberZwei;
        ring_[static_cast<std::size_t>(pos_)] = x;
        if (++pos_ == laenge) {
            pos_ = 0;
            // Rounding in the running sums is removed before it can build up.
            neu_ = alt_ = 0;
            for (int i = 0; i < bit_; ++i) {
                alt_ += ring_[static_cast<std::size_t>(i)];
                neu_ += ring_[static_cast<std::size_t>(i + bit_)];
            }
        }

        const double d = neu_ - alt_;
        const double gerichtet = hoch_ ? d : -d;  // positive along the current level
        spitze_ = std::max(spitze_, gerichtet);
        const double schwelle = std::max(boden, kantenHoehe_ / 16);
        if (-gerichtet > schwelle) {
            // The edge that brought the current level is complete: learn its height.
            kantenHoehe_ += spitze_ - kantenHoehe_ / 8;
            spitze_ = -gerichtet;
            hoch_ = !hoch_;
        const double fehler = phase_ < 0.5 ? phase_ : phase_ - 1.0;
            phase_ -= 0.5 * fehler;
            if (phase_ < 0) phase_ += 1.0;
        }
        const double vorher = phase_;
        phase_ += schritt_;
        if (phase_ >= 1.0) phase_ -= 1.0;
        if (vorher < 0.5 && phase_ >= 0.5) {
            // Steps from sample to sample against the energy: 2 for white noise.
            const double stufen = energie_ > 1e-6 ? stufen_ / energie_ : 2.0;
            bruchteil_ += bitAus_;
            const double ganz = std::floor(bruchteil_);
            bruchteil_ -= ganz;
            traegerSpitze_ = std::max(traegerSpitze_ * kSpitzeJeBit, energie_);
            stilleBits_ = energie_ < kStille * traegerSpitze_ ? stilleBits_ + 1 : 0;
            const bool still = stilleBits_ > kStilleBits;
            if (traeger_ && (stufen > kTraegerAus || still)) {
                traeger_ = false;
                aus.wechsel();
                kurzRest_ = kurzerLauf_;
            } else if (!traeger_ && stufen < kTraegerAn && !still) {
                traeger_ = true;
            }
            if (traeger_) {
                if (hoch_ != aus.hoch()) aus.wechsel();
                aus.weiter(static_cast<std::int32_t>(ganz));
            } else {
                kurzSchreiben(static_cast<std::int32_t>(ganz), aus);
            }
        }
    }
}

void PocAufbereitung::kurzSchreiben(std::int32_t samples, Laufschreiber& aus) {
    // Without a carrier: runs of a quarter bit, too short for a bit.
    while (samples > 0) {
        const auto teil = std::min<std::int32_t>(samples, static_cast<std::int32_t>(kurzRest_));
        aus.weiter(teil);
        samples -= teil;
        kurzRest_ -= teil;
        if (kurzRest_ <= 0) {
            aus.wechsel();
            kurzRest_ = kurzerLauf_;
        }
    }
}

}  // namespace tonwerk
