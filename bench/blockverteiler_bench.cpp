// Half-wave analysis plus dispatch of 44100 Hz stereo buffers, decoders included.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

#include "bench_eingang.h"

namespace tonwerk::bench {
namespace {

std::vector<std::uint8_t> rauschen() {
    std::mt19937 rng(7);
    std::normal_distribution<double> n(128.0, 30.0);
    std::vector<std::uint8_t> v(2 * 44100);
    for (auto& b : v) b = static_cast<std::uint8_t>(std::clamp(n(rng), 0.0, 255.0));
    return v;
}

std::vector<std::uint8_t> stille() { return std::vector<std::uint8_t>(2 * 44100, 128); }

// Left: 1200/1800 Hz alternating every 10 ms; right: 1750 Hz.
std::vector<std::uint8_t> tonmix() {
    std::vector<std::uint8_t> v(2 * 44100);
    for (int i = 0; i < 44100; ++i) {
        const double f = (i / 441) % 2 ? 1800.0 : 1200.0;
        v[2 * i] = static_cast<std::uint8_t>(128 + 60 * std::sin(2 * M_PI * f * i / 44100.0));
        v[2 * i + 1] = static_cast<std::uint8_t>(128 + 60 * std::sin(2 * M_PI * 1750.0 * i / 44100.0));
    }
    return v;
}

void verteilen(benchmark::State& state, std::vector<std::uint8_t> muster, bool filter = false) {
    DauerKontrolle k(std::move(muster));
    k.fw.Empfangsfilter(filter ? Wahr : Falsch);
    for (auto _ : state) k.timer1.tick();
    state.SetItemsProcessed(state.iterations() * k.framesJePuffer());
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * k.framesJePuffer()), benchmark::Counter::kIsRate);
}

// Noise with one decoder at a time on both channels, to see where time goes.
void nurEinDecoder(benchmark::State& state) {
    DauerKontrolle k(rauschen());
    k.fw.Empfangsfilter(state.range(1) != 0 ? Wahr : Falsch);
    const int nur = static_cast<int>(state.range(0));
    const char* namen[] = {"FMS", "ZVEI", "POC", "Tonruf"};
    for (int d = 0; d < 4; ++d)
        for (const char* seite : {"DecLinks", "DecRechts"})
            k.fw.schreiben(std::string(seite) + namen[d], Long{d == nur ? -1 : 0});
    for (auto _ : state) k.timer1.tick();
    state.SetLabel(std::string(nur < 4 ? namen[nur] : "keiner") + (state.range(1) != 0 ? " gefiltert" : ""));
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * k.framesJePuffer()), benchmark::Counter::kIsRate);
}
BENCHMARK(nurEinDecoder)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}});

BENCHMARK_CAPTURE(verteilen, rauschen, rauschen());
BENCHMARK_CAPTURE(verteilen, stille, stille());
BENCHMARK_CAPTURE(verteilen, tonmix, tonmix());
// The same with the reception filter (Empfangsfilter) on.
BENCHMARK_CAPTURE(verteilen, rauschen_gefiltert, rauschen(), true);
BENCHMARK_CAPTURE(verteilen, tonmix_gefiltert, tonmix(), true);

}  // namespace
}  // namespace tonwerk::bench
