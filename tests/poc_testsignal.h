// Test helpers for the POCSAG receiver: bit streams, NRZ audio with exact
// fractional bit timing, and decoding through the half-wave analysis buffer by
// buffer, as the capture does it.
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

inline std::vector<std::uint8_t> stereo(const std::vector<std::uint8_t>& links, const std::vector<std::uint8_t>& rechts) {
    const std::size_t n = std::max(links.size(), rechts.size());
    std::vector<std::uint8_t> s(2 * n, 128);
    for (std::size_t i = 0; i < links.size(); ++i) s[2 * i] = links[i];
    for (std::size_t i = 0; i < rechts.size(); ++i) s[2 * i + 1] = rechts[i];
    return s;
}

inline Einstellungen pocEinstellungen(Long rate, Long baud) {
    Einstellungen e;
    e.Abtastrate = rate;
    e.PocBaud = baud;
    return e;
}

// Feeds interleaved stereo audio through the half-wave analysis and the decoder,
// one capture buffer at a time, left channel before right.
class PocEmpfaenger {
public:
    explicit PocEmpfaenger(Einstellungen e)
        : einstellungen_(std::move(e)),
          konstanten_(berechneRatenkonstanten(einstellungen_.Abtastrate, einstellungen_.ZVEI70msMin,
                                              einstellungen_.ZVEI70msMax)),
          decoder_([this](POCType& m) { meldungen.push_back(m); }) {
        berechnePocKonstanten(konstanten_, einstellungen_.Abtastrate, einstellungen_.PocBaud);
        tabelle_.resize(static_cast<std::size_t>(konstanten_.RecordPufferSize) + 1);  // one entry is written ahead
    }

    void zufuehren(const std::vector<std::uint8_t>& stereoAudio) {
        const auto frames = static_cast<int>(konstanten_.RecordPufferSize);
        std::vector<std::uint8_t> puffer(2 * static_cast<std::size_t>(frames), 128);
        for (std::size_t start = 0; start < stereoAudio.size(); start += puffer.size()) {
            // A short last buffer is padded with silence, as the device would fill it.
            std::fill(puffer.begin(), puffer.end(), 128);
            std::copy_n(stereoAudio.begin() + static_cast<std::ptrdiff_t>(start),
                        std::min(puffer.size(), stereoAudio.size() - start), puffer.begin());
            for (int kanal = 0; kanal < 2; ++kanal) {
                const int n = halbwellenanalyse(puffer.data(), frames, kanal, zustand_[kanal],
                                                einstellungen_.SampleFehlerRate, tabelle_.data());
                decoder_.laufPruefung(static_cast<Integer>(kanal), Laeufe(tabelle_.data(), static_cast<std::size_t>(n)),
                                      einstellungen_, konstanten_);
            }
        }
    }

    void zufuehrenMono(const std::vector<std::uint8_t>& links) { zufuehren(stereo(links, {})); }

    std::vector<POCType> meldungen;

private:
    Einstellungen einstellungen_;
    Ratenkonstanten konstanten_;
    PocDecoder decoder_;
    LaufZustand zustand_[2];
    std::vector<Halbwelle> tabelle_;
};

}  // namespace tonwerk::test
