// POCSAG decoding speed at 44100 Hz stereo: messages at 1200 bit/s and noise on
// both channels, from half-wave analysis through the decoder, buffer by buffer as
// the capture does it; and the whole control with all four decoders.
#include <benchmark/benchmark.h>

#include "bench_eingang.h"
#include "poc_signal.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/decoders/poc_decoder.h"

namespace tonwerk {
namespace {

constexpr int kRate = 44100;
constexpr int kPuffer = 11025;

// About 20 s per channel: a message, 0.3 s of pause, again and again; noise about
// 20 dB below the signal throughout.
std::vector<std::uint8_t> mischung(int sekunden) {
    std::mt19937 rng(11);
    std::normal_distribution<double> rauschen(0.0, 5.0);
    std::vector<double> kanal[2];
    for (auto& k : kanal) {
        while (k.size() < static_cast<std::size_t>(sekunden) * kRate) {
            messung::nrzAnhaengen(k, messung::meldungBits(messung::zufallsMeldung(rng)), kRate, 1200, 50.0);
            k.insert(k.end(), kRate * 3 / 10, 0.0);
        }
        for (double& x : k) x += rauschen(rng);
    }
    const std::size_t n = std::min(kanal[0].size(), kanal[1].size());
    std::vector<std::uint8_t> frames;
    for (std::size_t i = 0; i < n; ++i) {
        frames.push_back(messung::quantisieren(kanal[0][i]));
        frames.push_back(messung::quantisieren(kanal[1][i]));
    }
    return frames;
}

Einstellungen einstellungen() {
    Einstellungen e;
    e.Abtastrate = kRate;
    e.PocBaud = 1200;
    return e;
}

Ratenkonstanten konstanten(const Einstellungen& e) {
    Ratenkonstanten k = berechneRatenkonstanten(kRate, e.ZVEI70msMin, e.ZVEI70msMax);
    berechnePocKonstanten(k, kRate, e.PocBaud);
    return k;
}

void BM_PocDekodierung44100Stereo(benchmark::State& state) {
    const auto frames = mischung(20);
    const auto gesamt = static_cast<int>(frames.size() / 2);
    const Einstellungen e = einstellungen();
    const Ratenkonstanten k = konstanten(e);
    std::vector<Halbwelle> tabelle(kPuffer + 1);
    std::int64_t meldungen = 0;
    PocDecoder dekoder([&](POCType&) { ++meldungen; });
    LaufZustand zustand[2];
    for (auto _ : state) {
        for (int start = 0; start + kPuffer <= gesamt; start += kPuffer) {
            for (int kanal = 0; kanal < 2; ++kanal) {
                const int n = halbwellenanalyse(frames.data() + 2 * start, kPuffer, kanal, zustand[kanal],
                                                e.SampleFehlerRate, tabelle.data());
                dekoder.laufPruefung(static_cast<Integer>(kanal), Laeufe(tabelle.data(), static_cast<std::size_t>(n)),
                                     e, k);
            }
        }
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(gesamt / kPuffer * kPuffer),
                                                    benchmark::Counter::kIsIterationInvariantRate);
    state.counters["meldungen"] = static_cast<double>(meldungen) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PocDekodierung44100Stereo)->Unit(benchmark::kMillisecond);

// The decoder alone on run tables prepared beforehand.
void BM_PocDecoderAllein(benchmark::State& state) {
    const auto frames = mischung(20);
    const auto gesamt = static_cast<int>(frames.size() / 2);
    const Einstellungen e = einstellungen();
    const Ratenkonstanten k = konstanten(e);
    std::vector<std::vector<Halbwelle>> tabellen;
    LaufZustand zustand[2];
    for (int start = 0; start + kPuffer <= gesamt; start += kPuffer) {
        for (int kanal = 0; kanal < 2; ++kanal) {
            std::vector<Halbwelle> t(kPuffer + 1);
            t.resize(static_cast<std::size_t>(halbwellenanalyse(frames.data() + 2 * start, kPuffer, kanal,
                                                                zustand[kanal], e.SampleFehlerRate, t.data())));
            tabellen.push_back(std::move(t));
        }
    }
    PocDecoder dekoder([](POCType&) {});
    for (auto _ : state) {
        for (std::size_t i = 0; i < tabellen.size(); ++i) {
            dekoder.laufPruefung(static_cast<Integer>(i % 2), tabellen[i], e, k);
        }
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(tabellen.size() / 2 * kPuffer),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PocDecoderAllein)->Unit(benchmark::kMillisecond);

// The control on POCSAG audio: capture analysis and all four decoders on both channels.
void BM_PocKontrolle44100Stereo(benchmark::State& state) {
    bench::DauerKontrolle k(mischung(1));
    k.fw.PocBaudRates(1);
    for (auto _ : state) k.timer1.tick();
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations() * k.framesJePuffer()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PocKontrolle44100Stereo);

}  // namespace
}  // namespace tonwerk
