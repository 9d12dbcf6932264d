#include "tonwerk/empfang/poc_aufbereitung.h"

#include <algorithm>
#include <cmath>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

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
            bruchteil_ += bitAus_;
            const double ganz = std::floor(bruchteil_);
            bruchteil_ -= ganz;
            if (hoch_ != aus.hoch()) aus.wechsel();
            aus.weiter(static_cast<std::int32_t>(ganz));
        }
    }
}

}  // namespace tonwerk
