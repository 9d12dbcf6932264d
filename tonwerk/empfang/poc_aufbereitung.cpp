#include "tonwerk/empfang/poc_aufbereitung.h"

#include <algorithm>
#include <cmath>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

namespace {

constexpr double kGlaettungBits = 3;  // of the carrier test's energies
constexpr double kTraegerAn = 1.5, kTraegerAus = 1.7;
// Bits in a row above kTraegerAus that end the carrier: at 0 dB over 11025 Hz
// (a ratio about 1.1) the smoothed ratio passes 1.7 for a bit now and then,
// after a transmission it stays there.
constexpr int kRauschBits = 4;
// Power below 1/100 of the carrier's (its peak, halving over 44 bits) for 18
// bits is silence or far weaker noise. An AC-coupled line sags that low in a
// long run of equal bits after about 16 bits, and such runs can be 30 bits
// long; with the detection delay a run still ends within 64 bits.
constexpr double kStille = 1.0 / 100;
constexpr double kSpitzeJeBit = 1.0 - 1.0 / 64;
constexpr int kStilleBits = 18;

// Bit clock: each crossing moves the phase by a share of its distance and
// the rate by a quarter of the square of that share (a critically damped
// second-order loop), within kTempoMax. The share, set once per bit, starts at
// a half when the carrier comes and falls to kZugRauschen where the carrier
// test's ratio (below) says noise (above 0.6), to kZugKlar where it says a
// clean signal (below 0.4): a tone keeps the carrier on and crosses zero
// every few samples, so a crossing must cost little.
constexpr double kZugRauschen = 0.08, kZugKlar = 0.25;
constexpr double kTempoMax = 0.03;
// Per run, of the mean height of a run's first bit: quick enough for the
// level normalisation's changes.
constexpr double kPegelZug = 1.0 / 8;
// A sum this close to zero (in bit heights) continues the bit before.
constexpr double kUnsicher = 0.03;

}  // namespace

void PocAufbereitung::einrichten(Long abtastrate, Long baud) {
    const double b = baud == 1200 ? 1200.0 : 512.0;
    bitAus_ = NormaleAbtastrate(abtastrate) / b;
    const double bitLaenge = 11025.0 / b;
    schritt_ = 1.0 / bitLaenge;
    phase_ = bruchteil_ = 0;
    // A whole sample more than the bit would reach into the next one.
    bit_ = std::max(2, static_cast<int>(std::floor(bitLaenge)));
    tempo_ = 0;
    takt_ = schritt_;
    bitsMitTraeger_ = 0;
    zug_ = 0.5;
    ring_.assign(static_cast<std::size_t>(bit_), 0);
    pos_ = 0;
    summe_ = vorigeSumme_ = 0;
    hoehe_ = 0;
    hoch_ = false;
    glaettung_ = 1.0 / (kGlaettungBits * bitLaenge);
    vorige_ = 0;
    stufen_ = energie_ = 0;
    stilleBits_ = rauschBits_ = 0;
    traegerSpitze_ = 0;
    traeger_ = false;
    kurzerLauf_ = std::max(1.0, std::floor(bitAus_ / 4));
    kurzRest_ = 0;
}

void PocAufbereitung::verarbeiten(const float* eingang, int anzahl, Laufschreiber& aus) {
    for (int n = 0; n < anzahl; ++n) {
        const float y = eingang[n];
        {
            const float schritt = y - vorige_;
            vorige_ = y;
            stufen_ += (static_cast<double>(schritt) * schritt - stufen_) * glaettung_;
            energie_ += (static_cast<double>(y) * y - energie_) * glaettung_;
        }
        summe_ += static_cast<double>(y) - ring_[static_cast<std::size_t>(pos_)];
        ring_[static_cast<std::size_t>(pos_)] = y;
        if (++pos_ == bit_) {
            pos_ = 0;
            // Rounding in the running sum is removed before it can build up.
            summe_ = 0;
            for (float v : ring_) summe_ += v;
        }

        const double s = summe_;
        // Without a carrier the clock runs free: it is brought in afresh when one comes.
        if (traeger_ && (s < 0) != (vorigeSumme_ < 0)) {
            // The sums cross zero half a bit after an edge: the clock's 0.
            double fehler = phase_ + vorigeSumme_ / (vorigeSumme_ - s) * takt_;
            if (fehler >= 0.5) fehler -= 1.0;
            tempo_ = std::clamp(tempo_ - 0.25 * zug_ * zug_ * fehler, -kTempoMax, kTempoMax);
            takt_ = schritt_ * (1.0 + tempo_);
            // Never across a bit's end: no bit is skipped or read twice.
            double neu = phase_ - zug_ * fehler;
            neu = phase_ < 0.5 ? std::min(neu, 0.5 - 1e-9) : std::max(neu, 0.5);
            if (neu < 0) neu += 1.0;
            if (neu >= 1.0) neu -= 1.0;
            phase_ = neu;
        }
        const double vorher = phase_;
        phase_ += takt_;
        if (phase_ >= 1.0) phase_ -= 1.0;
        if (vorher < 0.5 && phase_ >= 0.5) {
            // The bit's end: its sum, between this sample's and the one before.
            const double anteil = (0.5 - vorher) / takt_;
            const double v = vorigeSumme_ + anteil * (s - vorigeSumme_);
            if (std::fabs(v) >= kUnsicher * hoehe_ && (v > 0) != hoch_) {
                // The first bit of a run: full height even where a coupling sags.
                hoch_ = v > 0;
                hoehe_ += (std::fabs(v) - hoehe_) * kPegelZug;
            }

            // Steps from sample to sample against the energy: 2 for white noise.
            const double stufen = energie_ > 1e-6 ? stufen_ / energie_ : 2.0;
            bruchteil_ += bitAus_;
            const double ganz = std::floor(bruchteil_);
            bruchteil_ -= ganz;
            traegerSpitze_ = std::max(traegerSpitze_ * kSpitzeJeBit, energie_);
            stilleBits_ = energie_ < kStille * traegerSpitze_ ? stilleBits_ + 1 : 0;
            rauschBits_ = stufen > kTraegerAus ? rauschBits_ + 1 : 0;
            const bool still = stilleBits_ > kStilleBits;
            const double klar = std::clamp((0.6 - stufen) / 0.2, 0.0, 1.0);
            zug_ = std::max(kZugRauschen + (kZugKlar - kZugRauschen) * klar, 2.0 / (bitsMitTraeger_ + 4));
            if (bitsMitTraeger_ < 64) ++bitsMitTraeger_;
            if (traeger_ && (rauschBits_ >= kRauschBits || still)) {
                traeger_ = false;
                aus.wechsel();
                kurzRest_ = kurzerLauf_;
            } else if (!traeger_ && stufen < kTraegerAn && !still) {
                traeger_ = true;
                tempo_ = 0;
                takt_ = schritt_;
                bitsMitTraeger_ = 0;
                zug_ = 0.5;
            }
            if (traeger_) {
                if (hoch_ != aus.hoch()) aus.wechsel();
                aus.weiter(static_cast<std::int32_t>(ganz));
            } else {
                kurzSchreiben(static_cast<std::int32_t>(ganz), aus);
            }
        }
        vorigeSumme_ = s;
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
