// Throughput of the ZVEI and tone-call decoders, and of the whole control with
// every decoder on both channels, on 44100 Hz stereo. Counters are audio frames
// per second of CPU time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "tonwerk/core/funkwandler.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/decoders/tonruf_decoder.h"
#include "tonwerk/decoders/zvei_decoder.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_eingang.h"

namespace {

using namespace tonwerk;

constexpr int kRate = 44100;

// Ten seconds per channel: ZVEI sequences, a tone call of each kind and pauses,
// with a noise floor; the right channel carries the same content shifted.
std::vector<std::uint8_t> testaudio() {
    std::vector<double> x;
    double phase = 0.0;
    const auto ton = [&](double hz, double s) {
        for (long i = 0; i < std::lround(s * kRate); ++i) {
            x.push_back(0.4 * std::sin(phase));
            phase += 2.0 * M_PI * hz / kRate;
        }
    };
    const auto pause = [&](double s) { x.insert(x.end(), static_cast<std::size_t>(s * kRate), 0.0); };
    pause(0.3);
    for (int i = 0; i < 3; ++i) {
        for (int f : {1060, 1160, 2600, 1400, 1530}) ton(f, 0.07);
        pause(0.5);
    }
    ton(1750, 1.0);
    pause(0.5);
    ton(2135, 1.0);
    pause(0.5);
    ton(1750, 4.0);
    pause(10.0 - static_cast<double>(x.size()) / kRate);
    std::mt19937 gen(1);
    std::normal_distribution<double> rauschen(0.0, 0.01);
    const std::size_t n = x.size();
    const std::size_t versatz = n / 3;
    std::vector<std::uint8_t> stereo(2 * n);
    const auto byte = [](double v) {
        const long s = std::lround(std::fmax(-1.0, std::fmin(1.0, v)) * 32767.0);
        return static_cast<std::uint8_t>((s >> 8) + 128);
    };
    for (std::size_t i = 0; i < n; ++i) {
        stereo[2 * i] = byte(x[i] + rauschen(gen));
        stereo[2 * i + 1] = byte(x[(i + versatz) % n] + rauschen(gen));
    }
    return stereo;
}

// The run tables of every buffer of both channels, as the capture would make them.
struct Tabellen {
    std::vector<std::vector<Halbwelle>> puffer[2];
    std::int64_t frames = 0;
};

Tabellen analysieren(const std::vector<std::uint8_t>& stereo, int frames) {
    Tabellen t;
    LaufZustand lauf[2];
    std::vector<Halbwelle> tab(static_cast<std::size_t>(frames));
    for (std::size_t ab = 0; ab + 2 * static_cast<std::size_t>(frames) <= stereo.size(); ab += 2 * static_cast<std::size_t>(frames)) {
        for (int k = 0; k < 2; ++k) {
            const int n = halbwellenanalyse(stereo.data() + ab, frames, k, lauf[k], 1, tab.data());
            t.puffer[k].emplace_back(tab.begin(), tab.begin() + n);
        }
        t.frames += frames;
    }
    return t;
}

template <class Decoder>
void decoderAllein(benchmark::State& state) {
    Einstellungen e;
    e.Abtastrate = kRate;
    const Ratenkonstanten k = berechneRatenkonstanten(kRate, e.ZVEI70msMin, e.ZVEI70msMax);
    const Tabellen t = analysieren(testaudio(), static_cast<int>(k.RecordPufferSize));
    std::int64_t meldungen = 0;
    Decoder d([&meldungen](auto&) { ++meldungen; });
    for (auto _ : state) {
        for (std::size_t b = 0; b < t.puffer[0].size(); ++b) {
            for (Integer kanal = 0; kanal < 2; ++kanal) d.laufPruefung(kanal, Laeufe(t.puffer[kanal][b]), e, k);
        }
    }
    benchmark::DoNotOptimize(meldungen);
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(t.frames), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ZveiDecoder(benchmark::State& state) { decoderAllein<ZveiDecoder>(state); }
void BM_TonrufDecoder(benchmark::State& state) { decoderAllein<TonrufDecoder>(state); }

// The control end to end: capture buffers, level, half-wave analysis and every
// decoder on both channels.
void BM_FunkwandlerAlleDecoder(benchmark::State& state) {
    const std::vector<std::uint8_t> audio = testaudio();
    SimulierterEingang eingang;
    KeineAusgabe ausgabe;
    KeinAnschluss anschluss;
    HandZeitgeber t1, t2;
    SchrittUhr uhr;
    Funkwandler fw(Plattform{eingang, ausgabe, anschluss, t1, t2, uhr});
    fw.Samplerates(2);
    fw.SoundStart();
    for (auto _ : state) {
        eingang.anhaengen(audio);
        while (eingang.fuellen() > 0) t1.tick();
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(audio.size() / 2), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_ZveiDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TonrufDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FunkwandlerAlleDecoder)->Unit(benchmark::kMillisecond);

}  // namespace
