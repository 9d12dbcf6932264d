// Feeding decoders as the capture does: 8-bit stereo frames, whole buffers of
// RecordPufferSize frames, both channels through the half-wave analysis, then
// the decoder called left before right.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/ratenkonstanten.h"

namespace tonwerk::test {

// 16-bit sample -> 8-bit capture sample: high byte + 128.
inline std::uint8_t alsByte(int s16) { return static_cast<std::uint8_t>((s16 >> 8) + 128); }

// Full scale -1..1 -> 8-bit capture sample.
inline std::uint8_t alsByte(double v) {
    const long s = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
    return alsByte(static_cast<int>(s));
}

// Interleaved 8-bit stereo frames from two channels, the shorter one padded with
// silence (128). Channels are 8-bit samples or full-scale values.
template <class Probe>
std::vector<std::uint8_t> stereo(const std::vector<Probe>& links, const std::vector<Probe>& rechts) {
    const auto byte = [](Probe p) -> std::uint8_t {
        if constexpr (std::is_same_v<Probe, std::uint8_t>) {
            return p;
        } else {
            return alsByte(p);
        }
    };
    const std::size_t n = std::max(links.size(), rechts.size());
    std::vector<std::uint8_t> s(2 * n, 128);
    for (std::size_t i = 0; i < links.size(); ++i) s[2 * i] = byte(links[i]);
    for (std::size_t i = 0; i < rechts.size(); ++i) s[2 * i + 1] = byte(rechts[i]);
    return s;
}

// Settings at a rate (and POCSAG bit rate), everything else at its default.
inline Einstellungen einstellungenFuer(Long rate, Long baud = 512) {
    Einstellungen e;
    e.Abtastrate = rate;
    e.PocBaud = baud;
    return e;
}

// The rate constants of the settings, the POCSAG ones included.
inline Ratenkonstanten konstantenFuer(const Einstellungen& e) {
    Ratenkonstanten k = berechneRatenkonstanten(e.Abtastrate, e.ZVEI70msMin, e.ZVEI70msMax);
    berechnePocKonstanten(k, e.Abtastrate, e.PocBaud);
    return k;
}

// The capture's buffer loop in front of one decoder. Settings and constants are
// read at every buffer, so a test may change them between calls; the runs in
// progress carry over from one call to the next.
template <class Decoder>
class Einspeiser {
public:
    Einspeiser(Decoder& d, const Einstellungen& e, const Ratenkonstanten& k, std::array<bool, 2> kanaele = {true, true})
        : d_(d), e_(e), k_(k), kanaele_(kanaele) {}

    // False: a short last buffer goes to the analysis as it is, not padded with silence.
    bool auffuellen = true;

    // Number of buffers fed so far; during a buffer, its index.
    int puffer() const { return puffer_; }

    void zufuehren(std::span<const std::uint8_t> rahmen) {
        const int frames = static_cast<int>(k_.RecordPufferSize);
        const std::size_t bytes = 2 * static_cast<std::size_t>(frames);
        for (auto& t : tabelle_) t.resize(static_cast<std::size_t>(frames) + 1);  // one entry is written ahead
        std::vector<std::uint8_t> letzter;
        for (std::size_t ab = 0; ab < rahmen.size(); ab += bytes) {
            std::span<const std::uint8_t> block = rahmen.subspan(ab, std::min(bytes, rahmen.size() - ab));
            if (block.size() < bytes && auffuellen) {
                letzter.assign(block.begin(), block.end());
                letzter.resize(bytes, 128);
                block = letzter;
            }
            const int n = static_cast<int>(block.size() / 2);
            std::array<int, 2> anzahl{};
            for (std::size_t i = 0; i < 2; ++i)
                anzahl[i] = halbwellenanalyse(block.data(), n, static_cast<int>(i), lauf_[i], e_.SampleFehlerRate,
                                              tabelle_[i].data());
            for (std::size_t i = 0; i < 2; ++i) {
                if (kanaele_[i])
                    d_.laufPruefung(static_cast<Integer>(i),
                                    Laeufe(tabelle_[i].data(), static_cast<std::size_t>(anzahl[i])), e_, k_);
            }
            ++puffer_;
        }
    }

private:
    Decoder& d_;
    const Einstellungen& e_;
    const Ratenkonstanten& k_;
    std::array<bool, 2> kanaele_;
    std::array<LaufZustand, 2> lauf_{};
    std::array<std::vector<Halbwelle>, 2> tabelle_;
    int puffer_ = 0;
};

template <class Decoder>
void einspeisen(Decoder& d, std::span<const std::uint8_t> rahmen, const Einstellungen& e, const Ratenkonstanten& k,
                std::array<bool, 2> kanaele = {true, true}) {
    Einspeiser<Decoder>(d, e, k, kanaele).zufuehren(rahmen);
}

// A decoder of its own behind an Einspeiser, keeping every report and the
// buffer it came in.
template <class Decoder, class Meldung>
struct Empfaenger {
    explicit Empfaenger(Einstellungen einstellungen = {}) : e(std::move(einstellungen)), k(konstantenFuer(e)) {}

    Einstellungen e;
    Ratenkonstanten k;
    std::vector<Meldung> meldungen;
    std::vector<int> imPuffer;
    Decoder decoder{[this](Meldung& m) {
        meldungen.push_back(m);
        imPuffer.push_back(einspeiser.puffer());
    }};
    Einspeiser<Decoder> einspeiser{decoder, e, k};

    void zufuehren(std::span<const std::uint8_t> rahmen) { einspeiser.zufuehren(rahmen); }
    void zufuehrenMono(const std::vector<std::uint8_t>& links) { zufuehren(stereo(links, {})); }
};

}  // namespace tonwerk::test
