// Decode rate of the ZVEI and tone-call decoders against white noise: for each
// signal-to-noise ratio, many random transmissions (sine tones at a random
// amplitude and start phase, noise over the whole recording) are fed through the
// capture's half-wave analysis. A trial counts when exactly the expected report
// arrives and nothing else. SNR is the signal's mean square over its own samples
// against the noise power over the full band.
//
//   tonwerk_robustheit [trials per cell, default 200]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/decoders/tonruf_decoder.h"
#include "tonwerk/decoders/zvei_decoder.h"
#include "tonwerk/formats/zvei_tontabelle.h"

namespace {

using namespace tonwerk;

struct Aufnahme {
    std::vector<double> x;
    double signalLeistung = 0.0;
    std::size_t signalProben = 0;
};

void ton(Aufnahme& a, std::mt19937& gen, double& phase, double hz, double sekunden, double amplitude, int rate) {
    (void)gen;
    const auto n = static_cast<long>(std::lround(sekunden * rate));
    for (long i = 0; i < n; ++i) {
        const double v = amplitude * std::sin(phase);
        a.x.push_back(v);
        a.signalLeistung += v * v;
        ++a.signalProben;
        phase += 2.0 * M_PI * hz / rate;
    }
}

void pause(Aufnahme& a, double sekunden, int rate) {
    a.x.insert(a.x.end(), static_cast<std::size_t>(std::lround(sekunden * rate)), 0.0);
}

std::vector<std::uint8_t> verrauschen(const Aufnahme& a, double snrDb, std::mt19937& gen) {
    const double ps = a.signalLeistung / static_cast<double>(a.signalProben);
    const double rms = std::sqrt(ps / std::pow(10.0, snrDb / 10.0));
    std::normal_distribution<double> nd(0.0, rms);
    std::vector<std::uint8_t> stereo(2 * a.x.size(), 128);
    for (std::size_t i = 0; i < a.x.size(); ++i) {
        const double v = std::fmax(-1.0, std::fmin(1.0, a.x[i] + nd(gen)));
        const long s = std::lround(v * 32767.0);
        stereo[2 * i] = static_cast<std::uint8_t>((s >> 8) + 128);
    }
    return stereo;
}

template <class Decoder>
void einspeisen(Decoder& d, const std::vector<std::uint8_t>& stereo, const Einstellungen& e, const Ratenkonstanten& k) {
    const int frames = static_cast<int>(k.RecordPufferSize);
    std::vector<Halbwelle> tab(static_cast<std::size_t>(frames));
    LaufZustand lauf;
    std::vector<std::uint8_t> puffer(2 * static_cast<std::size_t>(frames), 128);
    for (std::size_t ab = 0; ab < stereo.size(); ab += puffer.size()) {
        const std::size_t n = std::min(puffer.size(), stereo.size() - ab);
        std::fill(puffer.begin(), puffer.end(), 128);
        std::copy(stereo.begin() + static_cast<long>(ab), stereo.begin() + static_cast<long>(ab + n), puffer.begin());
        const int laeufe = halbwellenanalyse(puffer.data(), frames, 0, lauf, e.SampleFehlerRate, tab.data());
        d.laufPruefung(0, Laeufe(tab.data(), static_cast<std::size_t>(laeufe)), e, k);
    }
}

double amplitude(std::mt19937& gen) { return std::uniform_real_distribution<double>(0.2, 0.6)(gen); }

bool zveiVersuch(int rate, double snr, std::mt19937& gen) {
    std::uniform_int_distribution<int> ziffer(0, 9);
    std::string nr;
    for (int i = 0; i < 5; ++i) nr += static_cast<char>('0' + ziffer(gen));
    Aufnahme a;
    double phase = std::uniform_real_distribution<double>(0, 2 * M_PI)(gen);
    const double amp = amplitude(gen);
    pause(a, 0.3, rate);
    for (char32_t z : ZveiSendefolge(nr)) ton(a, gen, phase, ZveiSendeFrequenz(z), 0.070, amp, rate);
    pause(a, 0.3, rate);
    Einstellungen e;
    e.Abtastrate = rate;
    const Ratenkonstanten k = berechneRatenkonstanten(rate, e.ZVEI70msMin, e.ZVEI70msMax);
    std::vector<std::string> gemeldet;
    ZveiDecoder d([&](ZVEIType& z) { gemeldet.push_back(z.ZVEINr); });
    einspeisen(d, verrauschen(a, snr, gen), e, k);
    return gemeldet.size() == 1 && gemeldet[0] == nr;
}

bool tonrufVersuch(int rate, double snr, double hz, double sekunden, Long erwartet, std::mt19937& gen) {
    Aufnahme a;
    double phase = std::uniform_real_distribution<double>(0, 2 * M_PI)(gen);
    pause(a, 0.3, rate);
    ton(a, gen, phase, hz, sekunden, amplitude(gen), rate);
    pause(a, 0.3, rate);
    Einstellungen e;
    e.Abtastrate = rate;
    const Ratenkonstanten k = berechneRatenkonstanten(rate, e.ZVEI70msMin, e.ZVEI70msMax);
    std::vector<Long> gemeldet;
    TonrufDecoder d([&](TonrufType& t) { gemeldet.push_back(t.tonruf); });
    einspeisen(d, verrauschen(a, snr, gen), e, k);
    return gemeldet.size() == 1 && gemeldet[0] == erwartet;
}

}  // namespace

int main(int argc, char** argv) {
    const int versuche = argc > 1 ? std::atoi(argv[1]) : 200;
    const double snrs[] = {40, 20, 15, 10, 6};
    std::printf("%-28s %6s", "signal", "rate");
    for (double s : snrs) std::printf(" %6.0f dB", s);
    std::printf("\n");
    struct Zeile {
        const char* name;
        int art;  // 0 ZVEI, else tone call number
    };
    const Zeile zeilen[] = {{"ZVEI (5 tones)", -1},
                            {"Tonruf I kurz (1750 Hz, 1 s)", 0},
                            {"Tonruf I lang (1750 Hz, 4 s)", 1},
                            {"Tonruf II kurz (2135 Hz, 1 s)", 2},
                            {"Tonruf II lang (2135 Hz, 4 s)", 3}};
    for (const Zeile& z : zeilen) {
        for (int rate : {11025, 22050, 44100}) {
            std::printf("%-28s %6d", z.name, rate);
            for (double snr : snrs) {
                std::mt19937 gen(static_cast<unsigned>(rate + 1000 * snr) + static_cast<unsigned>(z.art + 1) * 7919u);
                int gut = 0;
                for (int i = 0; i < versuche; ++i) {
                    const bool ok = z.art < 0 ? zveiVersuch(rate, snr, gen)
                                              : tonrufVersuch(rate, snr, z.art < 2 ? 1750 : 2135,
                                                              z.art % 2 ? 4.0 : 1.0, z.art, gen);
                    gut += ok;
                }
                std::printf(" %8.1f%%", 100.0 * gut / versuche);
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    return 0;
}
