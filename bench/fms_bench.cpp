// FMS decoding speed at 44100 Hz stereo: telegrams and noise on both channels,
// from half-wave analysis through the decoder, buffer by buffer as the capture does.
#include <benchmark/benchmark.h>

#include "fms_signal.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/decoders/fms_decoder.h"

namespace tonwerk {
namespace {

constexpr int kRate = 44100;

// About 20 s: per channel a telegram, then 0.3 s of noise, again and again.
std::vector<std::uint8_t> mischung() {
    std::mt19937 rng(7);
    std::normal_distribution<double> rauschen(0.0, 5.0);  // about 19 dB below the telegrams
    std::vector<std::uint8_t> frames;
    std::vector<double> kanal[2];
    for (auto& k : kanal) {
        while (k.size() < 20u * kRate) {
            for (double x : messung::telegrammAudio(messung::zufallsTelegramm(rng), kRate)) k.push_back(x);
            for (int i = 0; i < kRate * 3 / 10; ++i) k.push_back(0);
        }
        for (double& x : k) x += rauschen(rng);
    }
    const std::size_t n = std::min(kanal[0].size(), kanal[1].size());
    for (std::size_t i = 0; i < n; ++i) {
        frames.push_back(messung::quantisieren(kanal[0][i]));
        frames.push_back(messung::quantisieren(kanal[1][i]));
    }
    return frames;
}

void BM_FmsDekodierung44100Stereo(benchmark::State& state) {
    const auto frames = mischung();
    const int puffer = 11025;
    const auto gesamt = static_cast<int>(frames.size() / 2);
    Einstellungen e;
    e.Abtastrate = kRate;
    const Ratenkonstanten k = berechneRatenkonstanten(kRate, e.ZVEI70msMin, e.ZVEI70msMax);
    std::vector<Halbwelle> tabelle(puffer);
    std::int64_t telegramme = 0;
    FmsDecoder dekoder([&](FmsTlgType&) { ++telegramme; });
    LaufZustand zustand[2];
    for (auto _ : state) {
        for (int start = 0; start + puffer <= gesamt; start += puffer) {
            for (int kanal = 0; kanal < 2; ++kanal) {
                const int n = halbwellenanalyse(frames.data() + 2 * start, puffer, kanal, zustand[kanal],
                                                e.SampleFehlerRate, tabelle.data());
                dekoder.laufPruefung(static_cast<Integer>(kanal), Laeufe(tabelle.data(), static_cast<std::size_t>(n)),
                                     e, k);
            }
        }
    }
    const auto verarbeitet = static_cast<double>(gesamt / puffer * puffer);
    state.counters["frames/s"] = benchmark::Counter(verarbeitet, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["telegramme"] = static_cast<double>(telegramme) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FmsDekodierung44100Stereo)->Unit(benchmark::kMillisecond);

// The decoder alone on run tables prepared beforehand.
void BM_FmsDecoderAllein(benchmark::State& state) {
    const auto frames = mischung();
    const int puffer = 11025;
    const auto gesamt = static_cast<int>(frames.size() / 2);
    Einstellungen e;
    e.Abtastrate = kRate;
    const Ratenkonstanten k = berechneRatenkonstanten(kRate, e.ZVEI70msMin, e.ZVEI70msMax);
    std::vector<std::vector<Halbwelle>> tabellen;
    LaufZustand zustand[2];
    for (int start = 0; start + puffer <= gesamt; start += puffer) {
        for (int kanal = 0; kanal < 2; ++kanal) {
            std::vector<Halbwelle> t(puffer);
            t.resize(static_cast<std::size_t>(halbwellenanalyse(frames.data() + 2 * start, puffer, kanal,
                                                                zustand[kanal], e.SampleFehlerRate, t.data())));
            tabellen.push_back(std::move(t));
        }
    }
    FmsDecoder dekoder([](FmsTlgType&) {});
    for (auto _ : state) {
        for (std::size_t i = 0; i < tabellen.size(); ++i) {
            dekoder.laufPruefung(static_cast<Integer>(i % 2), tabellen[i], e, k);
        }
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(tabellen.size() / 2 * puffer),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FmsDecoderAllein)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tonwerk
