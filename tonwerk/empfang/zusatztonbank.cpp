#include "tonwerk/empfang/zusatztonbank.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tonwerk {

namespace {

// Bin 0 is 675 Hz; bins 1 to 5 its partners in the order of ZusatzTon 2 to 6;
// bin 6 the wake-up tone.
constexpr double kFrequenz[] = {675.0, 1240.0, 1860.0, 825.0, 2280.0, 1010.0, 2600.0};
constexpr int kWeckton = 6;
constexpr double kRate = 11025.0;

// Shares of the block's energy: each tone of a two-tone signal needs 0.15,
// both together 0.5 (about 0.4 each at 6 dB); the wake-up tone alone 0.5.
constexpr double kZweitonEinzeln = 0.15;
constexpr double kZweitonZusammen = 0.5;
constexpr double kWecktonAnteil = 0.5;

}  // namespace

Zusatztonbank::Zusatztonbank() {
    for (int k = 0; k < kToene; ++k) {
        const double w = 2.0 * 3.14159265358979323846 * kFrequenz[k] / kRate;
        for (int i = 0; i < kBlock; ++i) {
            cos_[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = static_cast<float>(std::cos(w * i));
            sin_[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = static_cast<float>(std::sin(w * i));
        }
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(kBlock); ++i) {
        vorab_[0][i] = cos_[i][0];
        vorab_[1][i] = sin_[i][0];
        vorab_[2][i] = cos_[i][kWeckton];
        vorab_[3][i] = sin_[i][kWeckton];
    }
}

bool Zusatztonbank::moeglich(const float* block) const {
    // Four samples per step, seven independent sums: bound by throughput, not
    // by the latency of one long chain of additions.
    using V4 = float __attribute__((vector_size(16)));
    V4 e{}, s{}, r0{}, i0{}, r6{}, i6{};
    for (std::size_t j = 0; j < static_cast<std::size_t>(kBlock); j += 4) {
        V4 x, c0, s0, c6, s6;
        std::memcpy(&x, block + j, sizeof x);
        std::memcpy(&c0, vorab_[0].data() + j, sizeof c0);
        std::memcpy(&s0, vorab_[1].data() + j, sizeof s0);
        std::memcpy(&c6, vorab_[2].data() + j, sizeof c6);
        std::memcpy(&s6, vorab_[3].data() + j, sizeof s6);
        e += x * x;
        s += x;
        r0 += x * c0;
        i0 += x * s0;
        r6 += x * c6;
        i6 += x * s6;
    }
    const auto summe = [](V4 v) { return static_cast<double>((v[0] + v[1]) + (v[2] + v[3])); };
    const double ev = summe(e), sv = summe(s);
    // Any order of summing 128 rounded products stays within n u = 7.6e-6
    // times the sum of their magnitudes of the exact sum, so the two passes'
    // sums differ by less than kFehler times that; sum |x| <= sqrt(n E).
    constexpr double kFehler = 4e-5;
    if (!(ev >= 0.0 && ev < 1e30)) return true;  // NaN, infinities: the full pass decides
    const double betrag = std::sqrt(kBlock * ev * (1.0 + kFehler));
    const double d = kFehler * betrag;
    const double sOben = std::fabs(sv) + d;
    const double sUnten = std::max(0.0, std::fabs(sv) - d);
    // Bounds of the full pass's energy without DC, with slack for its double steps.
    const double wechselOben = ev * (1.0 + kFehler) - sUnten * sUnten / kBlock + 1e-9 * ev;
    const double wechselUnten = ev * (1.0 - kFehler) - sOben * sOben / kBlock - 1e-9 * ev;
    if (wechselOben <= 1e-6 * kBlock) return false;
    if (!(wechselUnten > 1e-6 * kBlock)) return true;
    const auto oben = [&](V4 re, V4 im) {
        const double a = std::fabs(summe(re)) + d, b = std::fabs(summe(im)) + d;
        return (a * a + b * b) * (1.0 + 1e-9) / (0.5 * kBlock * wechselUnten);
    };
    return oben(r0, i0) >= kZweitonEinzeln || oben(r6, i6) >= kWecktonAnteil;
}

int Zusatztonbank::klasse(const float* block) const {
    if (!moeglich(block)) return 0;
    alignas(32) std::array<float, kBreite> re{}, im{};
    float energie = 0, summe = 0;
    for (std::size_t j = 0; j < static_cast<std::size_t>(kBlock); ++j) {
        const float x = block[j];
        energie += x * x;
        summe += x;
#pragma GCC unroll 8
        for (std::size_t k = 0; k < static_cast<std::size_t>(kBreite); ++k) {
            re[k] += x * cos_[j][k];
            im[k] += x * sin_[j][k];
        }
    }
    const double wechsel = static_cast<double>(energie) - static_cast<double>(summe) * summe / kBlock;
    if (wechsel <= 1e-6 * kBlock) return 0;
    // A pure tone has a share of 1: |sum|^2 = (A n / 2)^2, energy = A^2 n / 2.
    const double kehr = 1.0 / (0.5 * kBlock * wechsel);
    std::array<double, kToene> anteil{};
    for (std::size_t k = 0; k < static_cast<std::size_t>(kToene); ++k)
        anteil[k] = (static_cast<double>(re[k]) * re[k] + static_cast<double>(im[k]) * im[k]) * kehr;
    int partner = 1;
    for (int k = 2; k <= 5; ++k)
        if (anteil[static_cast<std::size_t>(k)] > anteil[static_cast<std::size_t>(partner)]) partner = k;
    const double a675 = anteil[0], aPartner = anteil[static_cast<std::size_t>(partner)];
    if (a675 >= kZweitonEinzeln && aPartner >= kZweitonEinzeln && a675 + aPartner >= kZweitonZusammen)
        return partner + 1;
    if (anteil[kWeckton] >= kWecktonAnteil) return 1;
    return 0;
}

}  // namespace tonwerk
