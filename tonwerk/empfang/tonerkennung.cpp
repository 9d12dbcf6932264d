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
    rate_ = NormaleAbtastrate(abtastrate);
    block_ = static_cast<int>(std::lround(16.0 * rate_ / 11025.0));
    cos_.assign(static_cast<std::size_t>(block_) * kBreite, 0.0f);
    sin_.assign(static_cast<std::size_t>(block_) * kBreite, 0.0f);
    for (int k = 0; k < kToene; ++k) {
        const double w = 2.0 * kPi * frequenz(k) / rate_;
        for (int i = 0; i < block_; ++i) {
            cos_[static_cast<std::size_t>(i * kBreite + k)] = static_cast<float>(std::cos(w * i));
            sin_[static_cast<std::size_t>(i * kBreite + k)] = static_cast<float>(-std::sin(w * i));
        }
        schrittRe_[static_cast<std::size_t>(k)] = std::cos(w * block_);
        schrittIm_[static_cast<std::size_t>(k)] = -std::sin(w * block_);
    }
    drehRe_.fill(1.0);
    drehIm_.fill(0.0);
    re_.fill(0);
    im_.fill(0);
    energie_ = summe_ = 0;
    position_ = 0;
    for (auto& f : fensterRe_) f.fill(0);
    for (auto& f : fensterIm_) f.fill(0);
    fensterEnergie_.fill(0);
    fensterSumme_.fill(0);
    fensterPos_ = gefuellt_ = 0;
    aktuell_ = kandidat_ = -1;
    kandidatBloecke_ = unentschieden_ = 0;
    bisWechsel_ = 1;
}

void Tonerkennung::verarbeiten(const std::uint8_t* puffer, int frames, int kanal, Laufschreiber& aus) {
    const std::uint8_t* p = puffer + kanal;
    for (int n = 0; n < frames; ++n, p += 2) {
        const float x = static_cast<float>(static_cast<int>(*p) - 128);
        const float* c = cos_.data() + static_cast<std::size_t>(position_) * kBreite;
        const float* s = sin_.data() + static_cast<std::size_t>(position_) * kBreite;
        for (int k = 0; k < kBreite; ++k) {
            re_[static_cast<std::size_t>(k)] += x * c[k];
            im_[static_cast<std::size_t>(k)] += x * s[k];
        }
        energie_ += x * x;
        summe_ += x;
        if (++position_ == block_) blockEnde(aus);
    }
}

void Tonerkennung::blockEnde(Laufschreiber& aus) {
    // The block's correlation, turned to the phase of the whole stream so
    // that blocks add up coherently.
    auto& fRe = fensterRe_[static_cast<std::size_t>(fensterPos_)];
    auto& fIm = fensterIm_[static_cast<std::size_t>(fensterPos_)];
    for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
        const double r = re_[k], i = im_[k];
        fRe[k] = r * drehRe_[k] - i * drehIm_[k];
        fIm[k] = r * drehIm_[k] + i * drehRe_[k];
        const double dr = drehRe_[k] * schrittRe_[k] - drehIm_[k] * schrittIm_[k];
        const double di = drehRe_[k] * schrittIm_[k] + drehIm_[k] * schrittRe_[k];
        const double betrag = std::sqrt(dr * dr + di * di);
        drehRe_[k] = dr / betrag;
        drehIm_[k] = di / betrag;
    }
    fensterEnergie_[static_cast<std::size_t>(fensterPos_)] = energie_;
    fensterSumme_[static_cast<std::size_t>(fensterPos_)] = summe_;
    fensterPos_ = (fensterPos_ + 1) % kFenster;
    gefuellt_ = std::min(gefuellt_ + 1, kFenster);
    re_.fill(0);
    im_.fill(0);
    energie_ = summe_ = 0;
    position_ = 0;

    int ton = -1;
    if (gefuellt_ == kFenster) {
        double energie = 0, summe = 0;
        for (int f = 0; f < kFenster; ++f) {
            energie += fensterEnergie_[static_cast<std::size_t>(f)];
            summe += fensterSumme_[static_cast<std::size_t>(f)];
        }
        const double n = static_cast<double>(kFenster) * block_;
        const double wechselanteil = energie - summe * summe / n;
        double beste = 0, zweite = 0;
        int besterTon = -1;
        for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
            double r = 0, i = 0;
            for (int f = 0; f < kFenster; ++f) {
                r += fensterRe_[static_cast<std::size_t>(f)][k];
                i += fensterIm_[static_cast<std::size_t>(f)][k];
            }
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
    erzeugen(block_, aus);
}

void Tonerkennung::erzeugen(int samples, Laufschreiber& aus) {
    const double halbperiode = rate_ / (2.0 * frequenz(aktuell_));
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
