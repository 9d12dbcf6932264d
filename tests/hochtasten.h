// Transmit audio (11025 Hz) at a capture rate that is a whole multiple of it,
// interpolated with a windowed sinc: the images of the tones stay out of the
// band, unlike with linear interpolation, and the result is the same on every run.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <stdexcept>
#include <vector>

namespace tonwerk::test {

// Input samples each output sample is made of.
inline constexpr int kSincBreite = 16;

// `ein` upsampled by `faktor` (1, 2 or 4); the values are carried as they are
// (8-bit samples stay on their 128 zero line, full-scale values on 0).
// Original samples land exactly on every faktor-th output sample.
inline std::vector<double> sincHochtasten(std::span<const double> ein, int faktor) {
    if (faktor != 1 && faktor != 2 && faktor != 4) throw std::invalid_argument("hochtasten: Faktor 1, 2 oder 4");
    if (faktor == 1) return {ein.begin(), ein.end()};
    // Output m = i0 * faktor + p takes inputs i0 - 7 .. i0 + 8 with the weights of phase p.
    constexpr int kHalb = kSincBreite / 2;
    std::vector<std::array<double, kSincBreite>> gewicht(static_cast<std::size_t>(faktor));
    for (int p = 0; p < faktor; ++p)
        for (int t = 0; t < kSincBreite; ++t) {
            const double d = (static_cast<double>(p) / faktor) - static_cast<double>(t - (kHalb - 1));
            const double sinc = d == 0.0 ? 1.0 : std::sin(std::numbers::pi * d) / (std::numbers::pi * d);
            const double w = 0.5 + 0.5 * std::cos(std::numbers::pi * d / kHalb);  // Hann over +-8 inputs
            gewicht[static_cast<std::size_t>(p)][static_cast<std::size_t>(t)] = sinc * w;
        }
    // Each phase's weights sum to 1, so a constant (the zero line) stays constant.
    for (auto& g : gewicht) {
        double s = 0;
        for (double w : g) s += w;
        for (double& w : g) w /= s;
    }
    const auto n = static_cast<long>(ein.size());
    const double rand0 = n > 0 ? ein.front() : 0.0, rand1 = n > 0 ? ein.back() : 0.0;
    std::vector<double> aus(ein.size() * static_cast<std::size_t>(faktor));
    for (long i0 = 0; i0 < n; ++i0)
        for (int p = 0; p < faktor; ++p) {
            const auto& g = gewicht[static_cast<std::size_t>(p)];
            double s = 0;
            for (int t = 0; t < kSincBreite; ++t) {
                const long i = i0 + t - (kHalb - 1);
                const double x = i < 0 ? rand0 : i >= n ? rand1 : ein[static_cast<std::size_t>(i)];
                s += g[static_cast<std::size_t>(t)] * x;
            }
            aus[static_cast<std::size_t>(i0 * faktor + p)] = s;
        }
    return aus;
}

// 8-bit transmit samples upsampled, still in 8-bit units around 128.
inline std::vector<double> sincHochtasten(std::span<const std::uint8_t> ein, int faktor) {
    const std::vector<double> d(ein.begin(), ein.end());
    return sincHochtasten(std::span<const double>(d), faktor);
}

// Back to 8-bit capture samples: rounded and clipped.
inline std::vector<std::uint8_t> alsBytes(std::span<const double> x) {
    std::vector<std::uint8_t> b(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        b[i] = static_cast<std::uint8_t>(std::lround(std::fmin(255.0, std::fmax(0.0, x[i]))));
    return b;
}

}  // namespace tonwerk::test
