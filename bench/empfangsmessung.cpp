// Figures for real receivers' audio, made without the control's transmitters
// (tests/empfangssignale.h), run by hand, not a test:
//  - each additional signal (ZusatzTon 1 to 6) at every rate at 6 dB with the
//    reception filter: how many of the six are reported, and right;
//  - events of every kind in 30 minutes of white noise, filter on and off;
//  - additional-signal events in other traffic: POCSAG, FMS, ZVEI calls and
//    tone calls sent by the control, in noise at 10 to 20 dB;
//  - FMS telegrams reported from POCSAG traffic at 10 to 20 dB through the
//    filter (300 messages by default);
//  - POCSAG attenuated by 30 dB (peaks near -37 dBFS) with and without the filter.
// Seeded: the same options print the same figures.
//
//   tonwerk_empfangsmessung [--anzahl N] [--rauschminuten M]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

#include "empfangssignale.h"
#include "hochtasten.h"
#include "test_plattform.h"

namespace {

using namespace tonwerk;

constexpr int kRaten[] = {11025, 22050, 44100};

struct Optionen {
    int anzahl = 300;
    double rauschminuten = 30;
};

[[noreturn]] void aufruf(const char* programm) {
    std::fprintf(stderr, "Aufruf: %s [--anzahl N] [--rauschminuten M]\n", programm);
    std::exit(2);
}

Optionen lesen(int argc, char** argv) {
    Optionen o;
    for (int i = 1; i < argc; ++i) {
        char* ende = nullptr;
        if (std::strcmp(argv[i], "--anzahl") == 0 && i + 1 < argc) {
            const long n = std::strtol(argv[++i], &ende, 10);
            if (*ende != '\0' || n < 1 || n > 100000) aufruf(argv[0]);
            o.anzahl = static_cast<int>(n);
        } else if (std::strcmp(argv[i], "--rauschminuten") == 0 && i + 1 < argc) {
            o.rauschminuten = std::strtod(argv[++i], &ende);
            if (*ende != '\0' || o.rauschminuten <= 0 || o.rauschminuten > 600) aufruf(argv[0]);
        } else {
            aufruf(argv[0]);
        }
    }
    return o;
}

// Feeds 8-bit mono audio on the left channel in pieces of whole capture
// buffers (a piece that ends inside a buffer would be padded there), so that a
// long recording is never held twice.
test::Mitschrift hoeren(const std::vector<std::uint8_t>& mono, int rate, Integer baud, bool filter) {
    test::TestKontrolle k;
    k.fw.Samplerates(rate == 22050 ? 1 : rate == 44100 ? 2 : 0);
    k.fw.PocBaudRates(baud);
    k.fw.Empfangsfilter(filter ? Wahr : Falsch);
    if (k.fw.SoundStart() != 0) std::exit(1);
    const std::size_t kStueck = static_cast<std::size_t>(k.fw.RecordPufferSize()) * 64;
    for (std::size_t i = 0; i < mono.size(); i += kStueck) {
        const std::vector<std::uint8_t> teil(mono.begin() + static_cast<std::ptrdiff_t>(i),
                                             mono.begin() + static_cast<std::ptrdiff_t>(std::min(mono.size(), i + kStueck)));
        k.einspeisen(test::stereo(teil, {}), i + kStueck >= mono.size());
    }
    return k.ereignisse;
}

std::size_t alle(const test::Mitschrift& m) {
    return m.fms.size() + m.zvei.size() + m.poc.size() + m.tonrufA.size() + m.zusatzton.size();
}

void zusatztoene() {
    std::printf("## Zusatztöne bei 6 dB, Empfangsfilter an\n\n| Rate | erkannt | falsch |\n|---|---|---|\n");
    for (int rate : kRaten) {
        int richtig = 0, falsch = 0;
        for (int nummer = 1; nummer <= 6; ++nummer) {
            double leistung = 0;
            auto x = test::zusatztonSignal(nummer, rate, leistung);
            test::mitRauschen(x, leistung, 6, static_cast<unsigned>(100 * nummer + rate));
            const auto m = hoeren(test::mitPegel(x, -6), rate, 0, true);
            for (const ZusatztonType& z : m.zusatzton) ++(z.Zusatzton == nummer && m.zusatzton.size() == 1 ? richtig : falsch);
            falsch += static_cast<int>(alle(m) - m.zusatzton.size());
        }
        std::printf("| %d | %d von 6 | %d |\n", rate, richtig, falsch);
    }
}

void rauschen(double minuten) {
    std::printf("\n## %.0f Minuten weißes Rauschen, 22050 Hz\n\n| Filter | FMS | ZVEI | POCSAG 512 | Tonruf | Zusatzton |\n|---|---|---|---|---|---|\n",
                minuten);
    const int rate = 22050;
    std::vector<double> x(static_cast<std::size_t>(minuten * 60 * rate), 0.0);
    test::mitRauschen(x, 1.0, 0, 99);
    const auto mono = test::mitPegel(x, -12);
    for (bool filter : {true, false}) {
        const auto m = hoeren(mono, rate, 0, filter);
        std::printf("| %s | %zu | %zu | %zu | %zu | %zu |\n", filter ? "an" : "aus", m.fms.size(), m.zvei.size(),
                    m.poc.size(), m.tonrufA.size(), m.zusatzton.size());
    }
}

// The 8-bit 11025 Hz audio of one transmission of the control.
std::vector<std::uint8_t> sendung(const std::function<Long(Funkwandler&)>& senden) {
    test::TestKontrolle t;
    const auto verzeichnis = std::filesystem::temp_directory_path() / ("tonwerk_empfangsmessung_" + std::to_string(::getpid()));
    std::filesystem::create_directories(verzeichnis);
    t.fw.Sendeverzeichnis(verzeichnis);
    t.fw.GenaueFrequenzen(Wahr);
    senden(t.fw);
    std::ifstream f(t.ausgabe.gespielt.back(), std::ios::binary);
    std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::filesystem::remove_all(verzeichnis);
    return d.size() > 44 ? std::vector<std::uint8_t>(d.begin() + 44, d.end()) : std::vector<std::uint8_t>{};
}

void andererVerkehr(int anzahl) {
    std::printf("\n## Zusatzton-Meldungen in anderem Verkehr (gesendet bei 13 dB, POCSAG bei 15 dB; Empfangsfilter an und aus)\n\n"
                "| Verkehr | Sendungen | Zusatzton an | Zusatzton aus |\n|---|---|---|---|\n");
    const int rate = 22050;
    struct Art {
        const char* name;
        std::function<Long(Funkwandler&, int)> senden;
    };
    const std::vector<Art> arten = {
        {"FMS", [](Funkwandler& f, int i) { return f.FMSSenden("6A1B2345", static_cast<Integer>(i % 2), static_cast<Integer>(i % 16), 3, 0, "", 0, 0); }},
        {"ZVEI mit Wiederholton", [](Funkwandler& f, int i) { return f.ZVEISenden(i % 2 ? "11111" : "22335", Wahr, 0, 0, 0); }},
        {"Tonrufe", [](Funkwandler& f, int i) { return f.TonrufSenden(i % 4, 0, 0); }},
    };
    for (const Art& art : arten) {
        std::vector<double> x;
        const int n = std::max(1, anzahl / 10);
        for (int i = 0; i < n; ++i) {
            const auto s = test::sincHochtasten(std::span<const std::uint8_t>(sendung([&](Funkwandler& f) { return art.senden(f, i); })), rate / 11025);
            for (double v : s) x.push_back((v - 128.0) / 64.0);
        }
        test::mitRauschen(x, 0.4, 13, 5);
        const auto mono = test::mitPegel(x, -6);
        std::printf("| %s | %d | %zu | %zu |\n", art.name, n, hoeren(mono, rate, 0, true).zusatzton.size(),
                    hoeren(mono, rate, 0, false).zusatzton.size());
    }
    for (int baud : {512, 1200}) {
        std::vector<test::PocMeldung> g;
        const auto x = test::pocVerkehr(std::max(1, anzahl / 10), rate, baud, 15, 17, g);
        const auto mono = test::mitPegel(x, -6);
        std::printf("| POCSAG %d | %zu | %zu | %zu |\n", baud, g.size(), hoeren(mono, rate, baud == 1200, true).zusatzton.size(),
                    hoeren(mono, rate, baud == 1200, false).zusatzton.size());
    }
}

// Messages decoded with RIC and text right, matched in order.
std::size_t pocRichtig(const test::Mitschrift& m, const std::vector<test::PocMeldung>& g) {
    std::size_t richtig = 0, j = 0;
    for (const POCType& p : m.poc) {
        std::size_t k = j;
        while (k < g.size() && g[k].ric != p.RIC) ++k;
        if (k < g.size() && p.Text.substr(0, g[k].text.size()) == g[k].text) {
            ++richtig;
            j = k + 1;
        }
    }
    return richtig;
}

void fmsAusPocsag(int anzahl) {
    std::printf("\n## FMS-Meldungen aus POCSAG-Verkehr, Empfangsfilter an, 22050 Hz\n\n"
                "| POCSAG | SNR | Meldungen | POCSAG richtig | FMS |\n|---|---|---|---|---|\n");
    std::size_t fms = 0;
    for (int baud : {512, 1200}) {
        for (double snr : {20.0, 15.0, 10.0}) {
            std::vector<test::PocMeldung> g;
            const auto x = test::pocVerkehr(anzahl, 22050, baud, snr, static_cast<unsigned>(baud * 10 + snr), g);
            const auto m = hoeren(test::mitPegel(x, -6), 22050, baud == 1200, true);
            fms += m.fms.size();
            std::printf("| %d | %.0f dB | %zu | %zu | %zu |\n", baud, snr, g.size(), pocRichtig(m, g), m.fms.size());
        }
    }
    std::printf("\nFMS-Meldungen insgesamt: %zu\n", fms);
}

void leise() {
    std::printf("\n## POCSAG um 30 dB gedämpft (Spitzen bei -37 dBFS), 20 dB SNR, 19 Meldungen\n\n"
                "| Rate | POCSAG | Filter an | Filter aus |\n|---|---|---|---|\n");
    for (int rate : kRaten) {
        for (int baud : {512, 1200}) {
            std::vector<test::PocMeldung> g;
            auto x = test::pocVerkehr(19, rate, baud, 20, static_cast<unsigned>(rate + baud), g);
            double spitze = 0;
            for (double v : x) spitze = std::max(spitze, std::fabs(v));
            const auto mono = test::mitPegel(x, -37.0 - 20.0 * std::log10(spitze));
            std::printf("| %d | %d | %zu von %zu | %zu von %zu |\n", rate, baud,
                        pocRichtig(hoeren(mono, rate, baud == 1200, true), g), g.size(),
                        pocRichtig(hoeren(mono, rate, baud == 1200, false), g), g.size());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Optionen o = lesen(argc, argv);
    zusatztoene();
    rauschen(o.rauschminuten);
    andererVerkehr(o.anzahl);
    fmsAusPocsag(o.anzahl);
    leise();
    return 0;
}
