#include "tonwerk/empfang/zusatztonbank.h"

#include <cmath>

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
}

int Zusatztonbank::klasse(const float* block) const {
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
