// The decode rate against white noise as a Markdown table: FMS, ZVEI and POCSAG
// at 30 to 3 dB, tone calls at 20 and 10 dB, each cell at 11025, 22050 and
// 44100 Hz, with the control's Empfangsfilter off and on. Then POCSAG from the
// reference generator (exact bit clock, not our transmitter) at 30 to 0 dB,
// counted as right / garbled (right RIC, wrong content) / invented (a RIC never
// sent), the alarms that must never happen. Seeded: the same options print the
// same tables. A measurement run by hand, not a test.
//
//   tonwerk_rauschtabelle [--anzahl N] [--poc-anzahl N] [--rate R] [--nur-referenz] [--saat S]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "rauschmessung.h"

namespace {

using namespace tonwerk::rauschmessung;

constexpr int kRaten[] = {11025, 22050, 44100};

struct Optionen {
    int anzahl = 50;
    int pocAnzahl = 300;       // messages per cell of the reference table
    std::vector<int> raten = {11025, 22050, 44100};  // of the reference table
    bool nurReferenz = false;  // only the reference table
    std::uint32_t saat = 1;
};

[[noreturn]] void aufruf(const char* programm) {
    std::fprintf(stderr, "Aufruf: %s [--anzahl N] [--poc-anzahl N] [--rate 11025|22050|44100] [--nur-referenz] [--saat S]\n",
                 programm);
    std::exit(2);
}

Optionen lesen(int argc, char** argv) {
    Optionen o;
    for (int i = 1; i < argc; ++i) {
        const bool hatWert = i + 1 < argc;
        char* ende = nullptr;
        if (std::strcmp(argv[i], "--anzahl") == 0 && hatWert) {
            const long n = std::strtol(argv[++i], &ende, 10);
            if (*ende != '\0' || n < 1 || n > 100000) aufruf(argv[0]);
            o.anzahl = static_cast<int>(n);
        } else if (std::strcmp(argv[i], "--poc-anzahl") == 0 && hatWert) {
            const long n = std::strtol(argv[++i], &ende, 10);
            if (*ende != '\0' || n < 1 || n > 100000) aufruf(argv[0]);
            o.pocAnzahl = static_cast<int>(n);
        } else if (std::strcmp(argv[i], "--rate") == 0 && hatWert) {
            const long r = std::strtol(argv[++i], &ende, 10);
            if (*ende != '\0' || (r != 11025 && r != 22050 && r != 44100)) aufruf(argv[0]);
            o.raten = {static_cast<int>(r)};
        } else if (std::strcmp(argv[i], "--nur-referenz") == 0) {
            o.nurReferenz = true;
        } else if (std::strcmp(argv[i], "--saat") == 0 && hatWert) {
            const unsigned long s = std::strtoul(argv[++i], &ende, 10);
            if (*ende != '\0') aufruf(argv[0]);
            o.saat = static_cast<std::uint32_t>(s);
        } else {
            aufruf(argv[0]);
        }
    }
    return o;
}

// One table: a row per SNR and filter setting, a column per kind, the three rates in each cell.
void tabelle(const Optionen& o, const std::vector<Signalart>& arten, const std::vector<double>& snrs) {
    const bool mitFilter = empfangsfilterVorhanden();
    std::string kopf = "| SNR dB | Empfangsfilter |";
    std::string linie = "|---|---|";
    for (std::size_t i = 0; i < arten.size(); ++i) {
        kopf += " " + name(arten[i]) + (i == 0 ? ": 11025, 22050, 44100 Hz" : "") + " |";
        linie += "---|";
    }
    std::printf("%s\n%s\n", kopf.c_str(), linie.c_str());
    std::fflush(stdout);
    for (double snr : snrs) {
        for (bool filter : {false, true}) {
            if (filter && !mitFilter) break;
            std::string zeile = "| " + std::to_string(static_cast<int>(snr)) + " | " +
                                (mitFilter ? (filter ? "True" : "False") : "–") + " |";
            for (Signalart art : arten) {
                std::string zelle;
                for (int rate : kRaten) {
                    const Ergebnis e = messen(Zelle{art, rate, snr, o.anzahl, filter, o.saat});
                    zelle += (zelle.empty() ? " " : ", ") + alsText(e);
                }
                zeile += zelle + " |";
            }
            std::printf("%s\n", zeile.c_str());
            std::fflush(stdout);
        }
    }
}

// POCSAG of the reference generator: a row per SNR and filter setting, a column
// per bit rate and capture rate, each cell right/garbled/invented.
void referenzTabelle(const Optionen& o) {
    const bool mitFilter = empfangsfilterVorhanden();
    std::printf("POCSAG des Referenzgenerators (genauer Bittakt), %d Meldungen je Zelle, Saat %u; "
                "richtig/verstümmelt/erfunden, +n FMS/ZVEI-Meldungen\n\n",
                o.pocAnzahl, o.saat);
    std::string kopf = "| SNR dB | Empfangsfilter |";
    std::string linie = "|---|---|";
    for (Signalart art : {Signalart::POC512, Signalart::POC1200})
        for (int rate : o.raten) {
            kopf += " " + name(art) + ", " + std::to_string(rate) + " Hz |";
            linie += "---|";
        }
    std::printf("%s\n%s\n", kopf.c_str(), linie.c_str());
    std::fflush(stdout);
    for (double snr : {30.0, 20.0, 15.0, 10.0, 6.0, 3.0, 0.0})
        for (bool filter : {false, true}) {
            if (filter && !mitFilter) break;
            std::string zeile = "| " + std::to_string(static_cast<int>(snr)) + " | " +
                                (mitFilter ? (filter ? "True" : "False") : "–") + " |";
            for (Signalart art : {Signalart::POC512, Signalart::POC1200})
                for (int rate : o.raten) {
                    Zelle z{art, rate, snr, o.pocAnzahl, filter, o.saat};
                    z.referenz = true;
                    zeile += " " + alsZaehlung(messen(z)) + " |";
                }
            std::printf("%s\n", zeile.c_str());
            std::fflush(stdout);
        }
}

}  // namespace

int main(int argc, char** argv) {
    const Optionen o = lesen(argc, argv);
    if (!o.nurReferenz) {
        std::printf("%d Meldungen je Zelle, Saat %u; Anteil exakt richtig, (+n) falsche Meldungen%s\n\n", o.anzahl,
                    o.saat, empfangsfilterVorhanden() ? "" : "; Eigenschaft Empfangsfilter fehlt: –");
        tabelle(o, {Signalart::FMS, Signalart::ZVEI, Signalart::POC512, Signalart::POC1200}, {30, 20, 15, 10, 6, 3});
        std::printf("\n");
        tabelle(o, {Signalart::TonrufI, Signalart::TonrufII, Signalart::TonrufIILang}, {20, 10});
        std::printf("\n");
    }
    referenzTabelle(o);
    return 0;
}
