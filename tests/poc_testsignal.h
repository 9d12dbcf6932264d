// Test helpers for the POCSAG receiver: bit streams and NRZ audio with exact
// fractional bit timing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/decoders/poc_decoder.h"
#include "tonwerk/formats/poc_batch.h"
#include "tonwerk/formats/poc_codewort.h"
#include "tonwerk/formats/poc_text.h"
#include "einspeiser.h"

namespace tonwerk::test {

inline std::string pocPraambel(int bits) {
    std::string p;
    for (int i = 0; i < bits; ++i) p += (i % 2 == 0) ? '1' : '0';
    return p;
}

inline std::string pocWorte(const std::vector<PocCodewort>& woerter) {
    std::string bits;
    for (PocCodewort w : woerter) bits += PocWortAlsBits(w);
    return bits;
}

// Preamble and batches of one message as the transmitter sends it.
inline std::string pocNachricht(Long ric, Long funktion, const std::string& text, int praambel = 576) {
    return pocPraambel(praambel) +
           pocWorte(PocBatchFolge(ric, PocAdresswort(ric, funktion), PocTextWoerter(text)));
}

struct NrzParameter {
    Long rate = 11025;
    Long baud = 512;
    bool invertiert = false;
    int pegel = 60;
    double rauschen = 0.0;  // standard deviation of added noise, in sample steps
    unsigned seed = 1;
};

// Mono 8-bit NRZ audio: "0" above the zero line, "1" below, bit i spanning the
// samples from i * rate / baud on.
inline std::vector<std::uint8_t> nrzAudio(const std::string& bits, const NrzParameter& p) {
    const auto proben = static_cast<std::size_t>(static_cast<long long>(bits.size()) * p.rate / p.baud);
    std::vector<std::uint8_t> audio(proben);
    std::mt19937 zufall(p.seed);
    std::normal_distribution<double> rauschen(0.0, p.rauschen > 0 ? p.rauschen : 1.0);
    for (std::size_t i = 0; i < proben; ++i) {
        const auto bit = static_cast<std::size_t>(static_cast<long long>(i) * p.baud / p.rate);
        const bool eins = (bits[bit] == '1') != p.invertiert;
        double wert = 128.0 + (eins ? -p.pegel : p.pegel);
        if (p.rauschen > 0) wert += rauschen(zufall);
        audio[i] = static_cast<std::uint8_t>(std::clamp(wert, 0.0, 255.0));
    }
    return audio;
}

inline std::vector<std::uint8_t> konstant(std::size_t n, std::uint8_t wert) { return std::vector<std::uint8_t>(n, wert); }

inline std::vector<std::uint8_t> rauschen(std::size_t n, double sigma, unsigned seed) {
    std::vector<std::uint8_t> audio(n);
    std::mt19937 zufall(seed);
    std::normal_distribution<double> verteilung(128.0, sigma);
    for (auto& a : audio) a = static_cast<std::uint8_t>(std::clamp(verteilung(zufall), 0.0, 255.0));
    return audio;
}

inline void anhaengen(std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
}

using PocEmpfaenger = Empfaenger<PocDecoder, POCType>;

}  // namespace tonwerk::test
