// FMS audio for measurements: transmitter audio at 11025 Hz brought to the capture
// rate, and white Gaussian noise at a chosen signal-to-noise ratio.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tonwerk/transmit/fms_senden.h"

namespace tonwerk::messung {

struct Telegramm {
    std::string kennung;
    Integer status, richtung, tki, baustufe;
};

inline Telegramm zufallsTelegramm(std::mt19937& rng) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::uniform_int_distribution<int> hex(0, 15), bit(0, 1), tki(0, 3);
    Telegramm t;
    for (int i = 0; i < 8; ++i) t.kennung.push_back(kHex[hex(rng)]);
    t.kennung[0] = kHex[1 + hex(rng) % 15];  // at least one one bit
    t.status = static_cast<Integer>(hex(rng));
    if (t.status == 10) t.status = 11;  // no text or follow-up blocks
    t.richtung = static_cast<Integer>(bit(rng));
    t.tki = static_cast<Integer>(tki(rng));
    t.baustufe = static_cast<Integer>(bit(rng));
    return t;
}

// Telegram audio (no lead-in) at `rate`, centred on zero, linearly interpolated.
inline std::vector<double> telegrammAudio(const Telegramm& t, int rate) {
    Einstellungen e;
    e.FMSSendeVorlauf = -1;
    Tongenerator g;
    FmsSendeAudio(g, e, t.kennung, t.richtung, t.status, t.tki, t.baustufe, "");
    const auto p = g.Proben();
    const int f = rate / 11025;
    std::vector<double> aus;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double x0 = p[i] - 128.0;
        const double x1 = (i + 1 < p.size() ? p[i + 1] : p[i]) - 128.0;
        for (int k = 0; k < f; ++k) aus.push_back(x0 + (x1 - x0) * k / f);
    }
    return aus;
}

inline double leistung(const std::vector<double>& s) {
    double summe = 0;
    for (double x : s) summe += x * x;
    return summe / static_cast<double>(s.size());
}

inline std::uint8_t quantisieren(double x) {
    return static_cast<std::uint8_t>(std::clamp(std::floor(x + 0.5) + 128.0, 0.0, 255.0));
}

}  // namespace tonwerk::messung
