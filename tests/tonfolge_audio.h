// Test audio for the tone decoders: sine synthesis, 8-bit stereo capture buffers,
// and feeding a decoder buffer by buffer through the half-wave analysis the
// capture uses.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/ratenkonstanten.h"

namespace tonwerk::testaudio {

// Mono signal in full-scale units (-1..1) at a given rate, built piece by piece.
struct Signal {
    int rate = 11025;
    std::vector<double> x;
    double phase = 0.0;  // radians, carried between tones so that sequences are seamless

    Signal& ton(double hz, double sekunden, double amplitude = 0.5) {
        const auto n = static_cast<long>(std::lround(sekunden * rate));
        for (long i = 0; i < n; ++i) {
            x.push_back(amplitude * std::sin(phase));
            phase += 2.0 * M_PI * hz / rate;
        }
        phase = std::fmod(phase, 2.0 * M_PI);
        return *this;
    }
    Signal& stille(double sekunden) {
        x.insert(x.end(), static_cast<std::size_t>(std::lround(sekunden * rate)), 0.0);
        return *this;
    }
    // White Gaussian noise of the given RMS added to the signal so far, from sample `ab` on.
    Signal& rauschen(double rms, unsigned saat = 1, std::size_t ab = 0) {
        std::mt19937 gen(saat);
        std::normal_distribution<double> nd(0.0, rms);
        for (std::size_t i = ab; i < x.size(); ++i) x[i] += nd(gen);
        return *this;
    }
    // A pause of the given length filled with noise, to end the tone before it.
    Signal& rauschpause(double sekunden, double rms, unsigned saat = 1) {
        const std::size_t ab = x.size();
        stille(sekunden);
        return rauschen(rms, saat, ab);
    }
};

// 16-bit sample -> 8-bit capture sample: high byte + 128.
inline std::uint8_t alsByte(int s16) { return static_cast<std::uint8_t>((s16 >> 8) + 128); }

inline std::uint8_t alsByte(double v) {
    const long s = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
    return alsByte(static_cast<int>(s));
}

// Interleaved 8-bit stereo frames from two channels (the shorter one padded with
// silence).
inline std::vector<std::uint8_t> stereo(const std::vector<double>& links, const std::vector<double>& rechts) {
    const std::size_t n = std::max(links.size(), rechts.size());
    std::vector<std::uint8_t> p(2 * n, 128);
    for (std::size_t i = 0; i < links.size(); ++i) p[2 * i] = alsByte(links[i]);
    for (std::size_t i = 0; i < rechts.size(); ++i) p[2 * i + 1] = alsByte(rechts[i]);
    return p;
}

// The capture's buffer loop: whole buffers of RecordPufferSize frames, both
// channels analysed, then the decoder called left before right for the channels
// switched on. The runs in progress carry over from one call of `zufuehren` to the next.
template <class Decoder>
class Einspeiser {
public:
    Einspeiser(Decoder& d, const Einstellungen& e, const Ratenkonstanten& k, std::array<bool, 2> kanaele = {true, true})
        : d_(d), e_(e), k_(k), kanaele_(kanaele) {
        for (auto& t : tabelle_) t.resize(static_cast<std::size_t>(k.RecordPufferSize));
    }

    // Feeds interleaved stereo frames; the last buffer is padded with silence.
    void zufuehren(std::vector<std::uint8_t> rahmen) {
        const int frames = static_cast<int>(k_.RecordPufferSize);
        const std::size_t puffer = 2 * static_cast<std::size_t>(frames);
        if (rahmen.size() % puffer) rahmen.resize((rahmen.size() / puffer + 1) * puffer, 128);
        for (std::size_t ab = 0; ab < rahmen.size(); ab += puffer) {
            std::array<int, 2> n{};
            for (std::size_t i = 0; i < 2; ++i) {
                n[i] = halbwellenanalyse(rahmen.data() + ab, frames, static_cast<int>(i), lauf_[i], e_.SampleFehlerRate,
                                         tabelle_[i].data());
            }
            for (std::size_t i = 0; i < 2; ++i) {
                if (kanaele_[i]) {
                    d_.laufPruefung(static_cast<Integer>(i), Laeufe(tabelle_[i].data(), static_cast<std::size_t>(n[i])),
                                    e_, k_);
                }
            }
        }
    }

private:
    Decoder& d_;
    Einstellungen e_;
    Ratenkonstanten k_;
    std::array<bool, 2> kanaele_;
    std::array<LaufZustand, 2> lauf_{};
    std::array<std::vector<Halbwelle>, 2> tabelle_;
};

template <class Decoder>
void einspeisen(Decoder& d, std::vector<std::uint8_t> rahmen, const Einstellungen& e, const Ratenkonstanten& k,
                std::array<bool, 2> kanaele = {true, true}) {
    Einspeiser<Decoder>(d, e, k, kanaele).zufuehren(std::move(rahmen));
}

inline Einstellungen einstellungenFuer(Long rate) {
    Einstellungen e;
    e.Abtastrate = rate;
    return e;
}

inline Ratenkonstanten konstantenFuer(const Einstellungen& e) {
    return berechneRatenkonstanten(e.Abtastrate, e.ZVEI70msMin, e.ZVEI70msMax);
}

}  // namespace tonwerk::testaudio

#include <sndfile.h>

#include <string>

namespace tonwerk::testaudio {

// A 16-bit PCM file as interleaved 8-bit stereo capture frames (high byte + 128).
// Mono files go to the left channel, the right one stays silent. Empty on failure.
struct WavAufnahme {
    int rate = 0;
    std::vector<std::uint8_t> rahmen;
};

inline WavAufnahme wavLesen(const std::string& pfad) {
    WavAufnahme a;
    SF_INFO info{};
    SNDFILE* f = sf_open(pfad.c_str(), SFM_READ, &info);
    if (!f) return a;
    std::vector<short> s(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t gelesen = sf_readf_short(f, s.data(), info.frames);
    sf_close(f);
    a.rate = info.samplerate;
    a.rahmen.assign(2 * static_cast<std::size_t>(gelesen), 128);
    for (sf_count_t i = 0; i < gelesen; ++i) {
        const auto ii = static_cast<std::size_t>(i);
        const auto ch = static_cast<std::size_t>(info.channels);
        a.rahmen[2 * ii] = alsByte(s[ii * ch]);
        if (ch > 1) a.rahmen[2 * ii + 1] = alsByte(s[ii * ch + 1]);
    }
    return a;
}

}  // namespace tonwerk::testaudio
