// POCSAG audio for measurements: random messages as NRZ at any sample rate with
// exact fractional bit timing (independent of the transmitter's rounding), plus
// white Gaussian noise, quantised to the 8-bit capture format.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tonwerk/formats/poc_batch.h"
#include "tonwerk/formats/poc_codewort.h"
#include "tonwerk/formats/poc_text.h"

namespace tonwerk::messung {

struct PocMeldung {
    Long ric;
    Long funktion;
    std::string text;
    std::string textBin;  // what a receiver reports
};

inline PocMeldung zufallsMeldung(std::mt19937& rng) {
    std::uniform_int_distribution<Long> ric(8, 2097151), funktion(0, 3);
    std::uniform_int_distribution<int> laenge(0, 40), zeichen(32, 122);
    PocMeldung m{ric(rng), funktion(rng), {}, {}};
    const int n = laenge(rng);
    for (int i = 0; i < n; ++i) m.text.push_back(static_cast<char>(zeichen(rng)));
    m.textBin = PocTextBits(m.text);
    m.textBin.resize((m.textBin.size() + 19) / 20 * 20, '0');
    return m;
}

inline std::string meldungBits(const PocMeldung& m) {
    std::string bits;
    for (int i = 0; i < 576; ++i) bits.push_back(i % 2 ? '0' : '1');
    for (PocCodewort w : PocBatchFolge(m.ric, PocAdresswort(m.ric, m.funktion), PocTextWoerter(m.text))) {
        bits += PocWortAlsBits(w);
    }
    return bits;
}

// NRZ of `bits` at amplitude `a` ("0" positive), appended to `audio`.
inline void nrzAnhaengen(std::vector<double>& audio, const std::string& bits, int rate, int baud, double a) {
    const auto proben = static_cast<std::size_t>(static_cast<long long>(bits.size()) * rate / baud);
    for (std::size_t i = 0; i < proben; ++i) {
        const auto bit = static_cast<std::size_t>(static_cast<long long>(i) * baud / rate);
        audio.push_back(bits[bit] == '1' ? -a : a);
    }
}

inline std::uint8_t quantisieren(double x) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + x), 0L, 255L));
}

}  // namespace tonwerk::messung
