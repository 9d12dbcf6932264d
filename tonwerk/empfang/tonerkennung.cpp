#include "tonwerk/empfang/tonerkennung.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
    for (int ton = -1; ton < kToene; ++ton)
        halbperiode_[static_cast<std::size_t>(ton < 0 ? kToene : ton)] = rateAus_ / (2.0 * frequenz(ton));
    for (int k = 0; k < kBreite; ++k) {
        const double w = k < kToene ? 2.0 * kPi * frequenz(k) / 11025.0 : 0.0;
        for (int i = 0; i < kBlock; ++i) {
            cos_[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = k < kToene ? static_cast<float>(std::cos(w * i)) : 0.0f;
            sin_[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = k < kToene ? static_cast<float>(-std::sin(w * i)) : 0.0f;
        }
        schrittRe_[static_cast<std::size_t>(k)] = static_cast<float>(std::cos(w * kBlock));
        schrittIm_[static_cast<std::size_t>(k)] = static_cast<float>(-std::sin(w * kBlock));
    }
    drehRe_.fill(1.0f);
    drehIm_.fill(0.0f);
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
    // Whole stretches are copied: the block fills without a test per sample.
    while (n > 0) {
        const int m = std::min(n, kBlock - position_);
        std::copy(x, x + m, block_.begin() + position_);
        x += m;
        n -= m;
        position_ += m;
        if (position_ == kBlock) blockEnde(aus);
    }
}

namespace {

using V4 = float __attribute__((vector_size(16)));

inline V4 laden(const float* p) {
    V4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void speichern(float* p, V4 v) { std::memcpy(p, &v, sizeof v); }

inline float summe(V4 v) { return (v[0] + v[1]) + (v[2] + v[3]); }

constexpr int kNormieren = 256;  // blocks between renormalisations

// The correlation of one block of 16 samples with 16 bins: each bin's sum
// runs over the samples in order. Also built for AVX, chosen at load time
// where the processor has it: eight bins to a vector halve the work, and the
// sums are the same to the bit (nothing is fused or reordered).
__attribute__((target_clones("avx", "default"))) void korrelieren(const float* block, const float* cosTabelle,
                                                                  const float* sinTabelle, float* re, float* im) {
    using V8 = float __attribute__((vector_size(32)));
    V8 r0{}, r1{}, i0{}, i1{}, c0, c1, s0, s1;
    for (int j = 0; j < 16; ++j) {
        const V8 x = V8{} + block[j];
        std::memcpy(&c0, cosTabelle + 16 * j, sizeof c0);
        std::memcpy(&c1, cosTabelle + 16 * j + 8, sizeof c1);
        std::memcpy(&s0, sinTabelle + 16 * j, sizeof s0);
        std::memcpy(&s1, sinTabelle + 16 * j + 8, sizeof s1);
        r0 += x * c0;
        r1 += x * c1;
        i0 += x * s0;
        i1 += x * s1;
    }
    std::memcpy(re, &r0, sizeof r0);
    std::memcpy(re + 8, &r1, sizeof r1);
    std::memcpy(im, &i0, sizeof i0);
    std::memcpy(im + 8, &i1, sizeof i1);
}

}  // namespace

void Tonerkennung::blockEnde(Laufschreiber& aus) {
    position_ = 0;
    constexpr int kVek = kBreite / 4;
    V4 e{}, s{};
    for (std::size_t j = 0; j < static_cast<std::size_t>(kBlock); j += 4) {
        const V4 v = laden(block_.data() + j);
        e += v * v;
        s += v;
    }
    const float blockEnergie = summe(e), blockSumme = summe(s);
    // The block's correlation, turned to the phase of the whole stream so
    // that blocks add up coherently. Each bin's sum runs over the samples in
    // order; the vectors hold four bins.
    static_assert(kBlock == 16 && kBreite == 16);
    alignas(32) std::array<float, kBreite> reFeld, imFeld;
    korrelieren(block_.data(), cos_[0].data(), sin_[0].data(), reFeld.data(), imFeld.data());
    float* const fRe = fensterRe_[static_cast<std::size_t>(fensterPos_)].data();
    float* const fIm = fensterIm_[static_cast<std::size_t>(fensterPos_)].data();
    alignas(16) std::array<float, kBreite> leistung{};
    for (int v = 0; v < kVek; ++v) {
        const std::size_t o = static_cast<std::size_t>(4 * v);
        const V4 dRe = laden(drehRe_.data() + o), dIm = laden(drehIm_.data() + o);
        const V4 re = laden(reFeld.data() + o), im = laden(imFeld.data() + o);
        const V4 neuRe = re * dRe - im * dIm;
        const V4 neuIm = re * dIm + im * dRe;
        // The window's sums run along: the block leaving it is taken out.
        const V4 sRe = laden(summeRe_.data() + o) + (neuRe - laden(fRe + o));
        const V4 sIm = laden(summeIm_.data() + o) + (neuIm - laden(fIm + o));
        speichern(summeRe_.data() + o, sRe);
        speichern(summeIm_.data() + o, sIm);
        speichern(fRe + o, neuRe);
        speichern(fIm + o, neuIm);
        speichern(leistung.data() + o, sRe * sRe + sIm * sIm);
        const V4 stRe = laden(schrittRe_.data() + o), stIm = laden(schrittIm_.data() + o);
        speichern(drehRe_.data() + o, dRe * stRe - dIm * stIm);
        speichern(drehIm_.data() + o, dRe * stIm + dIm * stRe);
    }
    if (++bisNormieren_ == kNormieren) {
        bisNormieren_ = 0;
        for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
            const double betrag = std::hypot(static_cast<double>(drehRe_[k]), static_cast<double>(drehIm_[k]));
            drehRe_[k] = static_cast<float>(drehRe_[k] / betrag);
            drehIm_[k] = static_cast<float>(drehIm_[k] / betrag);
        }
        // The running sums are rebuilt from the window's blocks, so rounding
        // cannot pile up; the decision below already used this block's sums.
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
        // The strongest and the runner-up by minimum and maximum: in noise the
        // order of the bins is random and branches on it would be mispredicted.
        for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k) {
            const double l = leistung[k];
            besterTon = l > beste ? static_cast<int>(k) : besterTon;
            zweite = std::max(zweite, std::min(beste, l));
            beste = std::max(beste, l);
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
    const double halbperiode = halbperiode_[static_cast<std::size_t>(aktuell_ < 0 ? kToene : aktuell_)];
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
