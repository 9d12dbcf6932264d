// FMS decode rate against white noise: random telegrams from the transmitter,
// Gaussian noise over the whole band at a given SNR (signal power = mean square
// over the telegrams' samples), 8-bit capture, half-wave analysis and decoder.
// Prints one line per rate and SNR: telegrams sent, decoded correctly, wrong.
#include <cstdio>

#include "fms_signal.h"
#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/decoders/fms_decoder.h"

using namespace tonwerk;

namespace {

struct Ergebnis {
    int gesendet = 0, richtig = 0, falsch = 0;
};

Ergebnis messen(int rate, double snrDb, int anzahl, unsigned saat) {
    std::mt19937 rng(saat);
    std::vector<messung::Telegramm> telegramme;
    std::vector<double> signal;
    double signalLeistung = 0;
    std::size_t signalProben = 0;
    for (int i = 0; i < anzahl; ++i) {
        telegramme.push_back(messung::zufallsTelegramm(rng));
        signal.insert(signal.end(), static_cast<std::size_t>(rate / 5), 0.0);  // 200 ms pause
        const auto a = messung::telegrammAudio(telegramme.back(), rate);
        signalLeistung += messung::leistung(a) * static_cast<double>(a.size());
        signalProben += a.size();
        signal.insert(signal.end(), a.begin(), a.end());
    }
    signal.insert(signal.end(), static_cast<std::size_t>(rate / 5), 0.0);
    signalLeistung /= static_cast<double>(signalProben);
    std::normal_distribution<double> rauschen(0.0, std::sqrt(signalLeistung / std::pow(10.0, snrDb / 10.0)));

    std::vector<std::uint8_t> frames;
    for (double x : signal) {
        frames.push_back(messung::quantisieren(x + rauschen(rng)));
        frames.push_back(128);
    }
    Einstellungen e;
    e.Abtastrate = rate;
    const Ratenkonstanten k = berechneRatenkonstanten(rate, e.ZVEI70msMin, e.ZVEI70msMax);
    std::vector<FmsTlgType> gemeldet;
    FmsDecoder dekoder([&](FmsTlgType& t) { gemeldet.push_back(t); });
    LaufZustand zustand;
    const int puffer = static_cast<int>(k.RecordPufferSize);
    std::vector<Halbwelle> tabelle(static_cast<std::size_t>(puffer));
    const auto gesamt = static_cast<int>(frames.size() / 2);
    for (int start = 0; start < gesamt; start += puffer) {
        const int n = std::min(puffer, gesamt - start);
        const int laeufe = halbwellenanalyse(frames.data() + 2 * start, n, 0, zustand, e.SampleFehlerRate, tabelle.data());
        dekoder.laufPruefung(0, Laeufe(tabelle.data(), static_cast<std::size_t>(laeufe)), e, k);
    }

    Ergebnis r;
    r.gesendet = anzahl;
    std::size_t naechstes = 0;
    for (const auto& t : gemeldet) {
        bool gefunden = false;
        for (std::size_t i = naechstes; i < telegramme.size(); ++i) {
            const auto& s = telegramme[i];
            if (t.Kennung == s.kennung && t.Status == s.status && t.Richtung == s.richtung && t.tki == s.tki &&
                t.Baustufe == s.baustufe) {
                gefunden = true;
                naechstes = i + 1;
                break;
            }
        }
        gefunden ? ++r.richtig : ++r.falsch;
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const int anzahl = argc > 1 ? std::atoi(argv[1]) : 500;
    std::printf("%8s %6s %9s %9s %9s %8s\n", "rate", "SNR", "gesendet", "richtig", "falsch", "quote");
    for (int rate : {11025, 44100}) {
        for (double snr : {20.0, 15.0, 10.0, 6.0}) {
            const Ergebnis r = messen(rate, snr, anzahl, 1234);
            std::printf("%8d %5.0f %9d %9d %9d %7.1f%%\n", rate, snr, r.gesendet, r.richtig, r.falsch,
                        100.0 * r.richtig / r.gesendet);
        }
    }
    return 0;
}
