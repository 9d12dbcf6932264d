// POCSAG decode rate against white noise: random messages as NRZ, Gaussian noise
// over the whole band at a given SNR (signal power = mean square over the
// messages' samples), 8-bit capture, half-wave analysis buffer by buffer and the
// decoder. Prints one line per rate, bit rate and SNR: messages sent, reported
// correctly (RIC, function and message bits), reports that match nothing sent.
#include <cstdio>
#include <map>
#include <tuple>

#include "poc_signal.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/decoders/poc_decoder.h"

using namespace tonwerk;

namespace {

struct Ergebnis {
    int gesendet = 0, richtig = 0, falsch = 0;
};

Ergebnis messen(int rate, int baud, double snrDb, int anzahl, unsigned saat) {
    std::mt19937 rng(saat);
    constexpr double kAmplitude = 50.0;
    std::vector<messung::PocMeldung> meldungen;
    std::vector<double> signal(static_cast<std::size_t>(rate / 2), 0.0);
    for (int i = 0; i < anzahl; ++i) {
        meldungen.push_back(messung::zufallsMeldung(rng));
        messung::nrzAnhaengen(signal, messung::meldungBits(meldungen.back()), rate, baud, kAmplitude);
        signal.insert(signal.end(), static_cast<std::size_t>(rate / 2), 0.0);
    }
    // NRZ has the same power in every sample it occupies: amplitude squared.
    const double sigma = kAmplitude / std::pow(10.0, snrDb / 20.0);
    std::normal_distribution<double> rauschen(0.0, sigma);
    std::vector<std::uint8_t> frames(2 * signal.size(), 128);
    for (std::size_t i = 0; i < signal.size(); ++i) frames[2 * i] = messung::quantisieren(signal[i] + rauschen(rng));

    Einstellungen e;
    e.Abtastrate = rate;
    e.PocBaud = baud;
    Ratenkonstanten k = berechneRatenkonstanten(rate, e.ZVEI70msMin, e.ZVEI70msMax);
    berechnePocKonstanten(k, rate, baud);
    std::map<std::tuple<Long, Long, std::string>, int> offen;
    for (const auto& m : meldungen) ++offen[{m.ric, m.funktion + 1, m.textBin}];
    Ergebnis ergebnis;
    ergebnis.gesendet = anzahl;
    PocDecoder dekoder([&](POCType& r) {
        auto it = offen.find({r.RIC, r.Funktion, r.TextBin});
        if (it != offen.end() && it->second > 0) {
            --it->second;
            ++ergebnis.richtig;
        } else {
            ++ergebnis.falsch;
        }
    });
    const int puffer = static_cast<int>(k.RecordPufferSize);
    std::vector<Halbwelle> tabelle(static_cast<std::size_t>(puffer) + 1);
    LaufZustand zustand;
    const auto gesamt = static_cast<int>(signal.size());
    for (int start = 0; start + puffer <= gesamt; start += puffer) {
        const int n = halbwellenanalyse(frames.data() + 2 * start, puffer, 0, zustand, e.SampleFehlerRate, tabelle.data());
        dekoder.laufPruefung(0, Laeufe(tabelle.data(), static_cast<std::size_t>(n)), e, k);
    }
    return ergebnis;
}

}  // namespace

int main() {
    std::printf("rate   baud  SNR/dB  gesendet  richtig  falsch  rate%%\n");
    for (int rate : {11025, 22050, 44100}) {
        for (int baud : {512, 1200}) {
            for (double snr : {20.0, 15.0, 10.0, 6.0}) {
                const Ergebnis r = messen(rate, baud, snr, 200, 5);
                std::printf("%5d  %4d  %6.0f  %8d  %7d  %6d  %5.1f\n", rate, baud, snr, r.gesendet, r.richtig, r.falsch,
                            100.0 * r.richtig / r.gesendet);
            }
        }
    }
    return 0;
}
