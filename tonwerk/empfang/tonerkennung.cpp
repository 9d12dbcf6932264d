#include "tonwerk/empfang/tonerkennung.h"

#include <algorithm>
#include <cmath>

#include "tonwerk/formats/abtastrate.h"
#include "tonwerk/formats/zvei_tontabelle.h"

namespace tonwerk {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAnteilMin = 0.3;      // tone power / window energy
constexpr double kVorsprung = 2.0;      // tone power / runner-up's power
constexpr int kBloeckeWechsel = 2;      // blocks a new tone must win
constexpr int kBloeckeBeginn = 4;       // ... after silence
constexpr int kBloeckeHalten = 7;       // undecided blocks a tone is held through
constexpr double kOhneTonHz = 250.0;    // output without a tone

}  // namespace

double Tonerkennung::frequenz(int ton) {
    static constexpr char32_t kZvei[] = {U'1', U'2', U'3', U'4', U'5', U'6', U'7', U'8', U'9', U'0', U'W'};
    if (ton >= 0 && ton < 11) return ZveiSendeFrequenz(kZvei[ton]);
    if (ton == 11) return 1750.0;
    if (ton == 12) return 2135.0;
    return kOhneTonHz;
}

void Tonerkennung::einrichten(Long abtastrate) {
    rateAus_ = NormaleAbtastrate(abtastrate);
    faktor_ = static_cast<int>(rateAus_) / 11025;
    for (int k = 0; k < kBreite; ++k) {
        const double w = k < kToene ? 2.0 * kPi * frequenz(k) / 11025.0 : 0.0;
        for (int i = 0; i < kBlock; ++i) {
            cos_[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = k < kToene ? static_cast<float>(std::cos(w * i)) : 0.0f;
            sin_[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = k < kToene ? static_cast<float>(-std::sin(w * i)) : 0.0f;
        }
        schrittRe_[static_cast<std::size_t>(k)] = std::cos(w * kBlock);
        schrittIm_[static_cast<std::size_t>(k)] = -std::sin(w * kBlock);
    }
    drehRe_.fill(1.0);
    drehIm_.fill(0.0);
    position_ = bisNormieren_ = 0;
    for (auto& f : fensterRe_) f.fill(0);
    for (auto& f : fensterIm_) f.fill(0);
    summeRe_.fill(0);
    summeIm_.fill(0);
    fensterEnergie_.fill(0);
    fensterSumme_.fill(0);
    fensterPos_ = gefuellt_ = 0;
    aktuell_ = kandidat_ = -1;
    kandidatBloecke_ = unentschieden_ = 0;
    bisWechsel_ = 1;
}

void Tonerkennung::verarbeiten(const float* x, int n, Laufschreiber& aus) {
    for (int i = 0; i < n; ++i) {
        block_[static_cast<std::size_t>(position_)] = x[i];
        if (++position_ == kBlock) blockEnde(aus);
    }
}

void Tonerkennung::blockEnde(Laufschreiber& aus) {
    position_ = 0;
    float blockEnergie = 0, blockSumme = 0;
    for (float v : block_) {
        blockEnergie += v * v;
        blockSumme += v;
    }
    // The block's correlation, turned to the phase of the whole stream so
    // that blocks add up coherently.
    auto& fRe = fensterRe_[static_cast<std::size_t>(fensterPos_)];
    auto& fIm = fensterIm_[static_cast<std::size_t>(fensterPos_)];
    alignas(32) std::array<float, kBreite> re{}, im{};
    for (std::size_t j = 0; j < static_cast<std::size_t>(kBlock); ++j) {
        const float x = block_[j];
        // Unrolled, the sixteen sums stay in vector registers.
#pragma GCC unroll 16
        for (std::size_t k = 0; k < static_cast<std::size_t>(kBreite); ++k) {
            re[k] += x * cos_[j][k];
            im[k] += x * sin_[j][k];
        }
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
        const double r = re[k], i = im[k];
        const double neuRe = r * drehRe_[k] - i * drehIm_[k];
        const double neuIm = r * drehIm_[k] + i * drehRe_[k];
        // The window's sums run along: the block leaving it is taken out.
        summeRe_[k] += neuRe - fRe[k];
        summeIm_[k] += neuIm - fIm[k];
        fRe[k] = neuRe;
        fIm[k] = neuIm;
        const double dr = drehRe_[k] * schrittRe_[k] - drehIm_[k] * schrittIm_[k];
        const double di = drehRe_[k] * schrittIm_[k] + drehIm_[k] * schrittRe_[k];
        drehRe_[k] = dr;
        drehIm_[k] = di;
    }
    if (++bisNormieren_ == 1024) {
        // The turning phasors keep their length to a few parts in 1e13 per
        // step; they are put back on the unit circle now and then.
        bisNormieren_ = 0;
        for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
            const double betrag = std::hypot(drehRe_[k], drehIm_[k]);
            drehRe_[k] /= betrag;
            drehIm_[k] /= betrag;
        }
        // The running sums are rebuilt exactly, so rounding cannot pile up.
        summeRe_.fill(0);
        summeIm_.fill(0);
        for (int f = 0; f < kFenster; ++f)
            for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
                summeRe_[k] += fensterRe_[static_cast<std::size_t>(f)][k];
                summeIm_[k] += fensterIm_[static_cast<std::size_t>(f)][k];
            }
    }
    fensterEnergie_[static_cast<std::size_t>(fensterPos_)] = blockEnergie;
    fensterSumme_[static_cast<std::size_t>(fensterPos_)] = blockSumme;
    fensterPos_ = (fensterPos_ + 1) % kFenster;
    gefuellt_ = std::min(gefuellt_ + 1, kFenster);

    int ton = -1;
    if (gefuellt_ == kFenster) {
        double energie = 0, summe = 0;
        for (int f = 0; f < kFenster; ++f) {
            energie += fensterEnergie_[static_cast<std::size_t>(f)];
            summe += fensterSumme_[static_cast<std::size_t>(f)];
        }
        const double n = static_cast<double>(kFenster) * kBlock;
        const double wechselanteil = energie - summe * summe / n;
        double beste = 0, zweite = 0;
        int besterTon = -1;
        for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
            const double r = summeRe_[k], i = summeIm_[k];
            const double leistung = r * r + i * i;
            if (leistung > beste) {
                zweite = beste;
                beste = leistung;
                besterTon = static_cast<int>(k);
            } else if (leistung > zweite) {
                zweite = leistung;
            }
        }
        // A pure tone has a share of 1: |sum|^2 = (A n / 2)^2, energy = A^2 n / 2.
        if (wechselanteil > 0 && beste >= kAnteilMin * 0.5 * n * wechselanteil && beste >= kVorsprung * zweite)
            ton = besterTon;
    }

    if (ton >= 0 && ton == aktuell_) {
        kandidat_ = -1;
        unentschieden_ = 0;
    } else if (ton >= 0) {
        kandidatBloecke_ = ton == kandidat_ ? kandidatBloecke_ + 1 : 1;
        kandidat_ = ton;
        if (kandidatBloecke_ >= (aktuell_ < 0 ? kBloeckeBeginn : kBloeckeWechsel)) {
            aktuell_ = ton;
            kandidat_ = -1;
            unentschieden_ = 0;
        }
    } else {
        kandidat_ = -1;
        if (aktuell_ >= 0 && ++unentschieden_ > kBloeckeHalten) aktuell_ = -1;
    }
    erzeugen(kBlock * faktor_, aus);
}

void Tonerkennung::erzeugen(int samples, Laufschreiber& aus) {
    const double halbperiode = rateAus_ / (2.0 * frequenz(aktuell_));
    int rest = samples;
    while (true) {
        // Samples still at the current level: those before the change.
        const int vor = std::max(1, static_cast<int>(std::ceil(bisWechsel_)));
        if (vor > rest) {
            aus.weiter(rest);
            bisWechsel_ -= rest;
            return;
        }
        aus.weiter(vor);
        aus.wechsel();
        rest -= vor;
        bisWechsel_ += halbperiode - vor;
    }
}

}  // namespace tonwerk
