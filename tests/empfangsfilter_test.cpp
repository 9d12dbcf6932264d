// The reception filter (Empfangsfilter): off, the events are those of the raw
// path; on, every kind of signal survives what a real line input adds (noise,
// DC offset, AC coupling), a long tone call stays one call, and silence, hum
// and noise alone stay silent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "fms_hilfen.h"
#include "empfangssignale.h"
#include "test_plattform.h"
#include "tonwerk/empfang/empfangsfilter.h"

namespace tonwerk {
namespace {

namespace fs = std::filesystem;

// The 8-bit 11025 Hz mono audio of one transmission.
std::vector<std::uint8_t> sendung(const std::function<Long(Funkwandler&)>& senden) {
    test::TestKontrolle t;
    static int zaehler = 0;
    const fs::path verzeichnis =
        fs::temp_directory_path() / ("tonwerk_empfangsfilter_" + std::to_string(::getpid()) + "_" +
                                     std::to_string(zaehler++));
    fs::create_directories(verzeichnis);
    t.fw.Sendeverzeichnis(verzeichnis);
    EXPECT_EQ(senden(t.fw), 0);
    std::ifstream f(t.ausgabe.gespielt.back(), std::ios::binary);
    std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    fs::remove_all(verzeichnis);
    return d.size() > 44 ? std::vector<std::uint8_t>(d.begin() + 44, d.end()) : std::vector<std::uint8_t>{};
}

struct Art {
    std::string name;
    std::function<Long(Funkwandler&)> senden;
    std::function<std::size_t(const test::Mitschrift&)> anzahl;
    Integer pocBaudRates = 0;
    bool haltend = false;  // two-level audio: held, not interpolated, when rated up
};

std::vector<Art> alleArten() {
    return {
        {"FMS", [](Funkwandler& f) { return f.FMSSenden("6A1B2345", 1, 10, 3, 0, "Lage?", 0, 0); },
         [](const test::Mitschrift& m) { return m.fms.size(); }},
        {"ZVEI", [](Funkwandler& f) { return f.ZVEISenden("22335", Falsch, 0, 0, 0); },
         [](const test::Mitschrift& m) { return m.zvei.size(); }},
        {"POCSAG-1200", [](Funkwandler& f) { return f.POCSenden(1, 1234567, 3, "Probe", 0, 0); },
         [](const test::Mitschrift& m) { return m.poc.size(); }, 1, true},
        {"POCSAG-512", [](Funkwandler& f) { return f.POCSenden(0, 8, 0, "Ende", 0, 0); },
         [](const test::Mitschrift& m) { return m.poc.size(); }, 0, true},
        {"Tonruf-I", [](Funkwandler& f) { return f.TonrufSenden(0, 0, 0); },
         [](const test::Mitschrift& m) { return m.tonrufA.size(); }},
    };
}

// Audio as it reaches the input: the transmission at `rate` between 0.3 s of
// quiet, then changed sample by sample (values around 0, full scale 128).
std::vector<std::uint8_t> empfangen(const Art& art, int rate, const std::function<double(double)>& leitung) {
    const auto s = sendung(art.senden);
    const int faktor = rate / 11025;
    std::vector<std::uint8_t> mono(static_cast<std::size_t>(rate) * 3 / 10, 128);
    if (art.haltend) {
        for (std::uint8_t p : s) mono.insert(mono.end(), static_cast<std::size_t>(faktor), p);
    } else {
        const auto hoch = test::hochtasten(s, faktor);
        mono.insert(mono.end(), hoch.begin(), hoch.end());
    }
    mono.resize(mono.size() + static_cast<std::size_t>(rate) * 3 / 10, 128);
    for (auto& p : mono) p = static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + leitung(p - 128.0)), 0L, 255L));
    return mono;
}

test::Mitschrift dekodiert(const std::vector<std::uint8_t>& mono, int rate, Integer pocBaudRates, bool filter) {
    test::TestKontrolle e;
    e.fw.Samplerates(rate == 22050 ? 1 : rate == 44100 ? 2 : 0);
    e.fw.PocBaudRates(pocBaudRates);
    e.fw.Empfangsfilter(filter ? Wahr : Falsch);
    EXPECT_EQ(e.fw.SoundStart(), 0);
    e.einspeisen(test::stereo(mono, {}));
    return e.ereignisse;
}

// White noise at `snr` dB below a tone (or two-level signal) of amplitude `a`.
std::function<double(double)> rauschen(double snr, double a, bool zweiPegel, unsigned saat) {
    auto gen = std::make_shared<std::mt19937>(saat);
    const double leistung = zweiPegel ? a * a : a * a / 2;
    const double sigma = std::sqrt(leistung / std::pow(10.0, snr / 10.0));
    return [gen, sigma](double x) { return x + std::normal_distribution<double>(0.0, sigma)(*gen); };
}

TEST(Empfangsfilter, IsOffByDefaultAndOffGivesTheRawPathsEventsOnNoisyAudio) {
    test::TestKontrolle t;
    EXPECT_EQ(t.fw.Empfangsfilter(), Falsch);
    EXPECT_EQ(std::get<Long>(t.fw.lesen("Empfangsfilter")), Falsch);
    t.fw.schreiben("Empfangsfilter", Wert{Long{1}});
    EXPECT_EQ(t.fw.Empfangsfilter(), Wahr);

    // Noise at which the raw path loses some signals: switched on and off
    // again, the control reports exactly what a control never switched does.
    for (const Art& art : alleArten()) {
        for (int rate : {11025, 44100}) {
            SCOPED_TRACE(art.name + " " + std::to_string(rate));
            const auto mono = empfangen(art, rate, rauschen(12, 60, art.haltend, 5));
            test::TestKontrolle roh, umgeschaltet;
            for (auto* k : {&roh, &umgeschaltet}) {
                k->fw.Samplerates(rate == 44100 ? 2 : 0);
                k->fw.PocBaudRates(art.pocBaudRates);
            }
            umgeschaltet.fw.Empfangsfilter(Wahr);
            umgeschaltet.fw.Empfangsfilter(Falsch);
            for (auto* k : {&roh, &umgeschaltet}) {
                ASSERT_EQ(k->fw.SoundStart(), 0);
                k->einspeisen(test::stereo(mono, mono));
            }
            EXPECT_EQ(roh.ereignisse.reihenfolge, umgeschaltet.ereignisse.reihenfolge);
            ASSERT_EQ(roh.ereignisse.fms.size(), umgeschaltet.ereignisse.fms.size());
            for (std::size_t i = 0; i < roh.ereignisse.fms.size(); ++i)
                EXPECT_EQ(roh.ereignisse.fms[i].Kennung, umgeschaltet.ereignisse.fms[i].Kennung);
        }
    }
}

TEST(Empfangsfilter, EveryKindIsReceivedOnceWithNoiseDcOffsetAndAcCoupling) {
    for (const Art& art : alleArten()) {
        for (int rate : {11025, 22050, 44100}) {
            const double a = 60;
            struct Leitung {
                std::string name;
                std::function<double(double)> f;
            };
            // A first-order 100 Hz high-pass (an AC-coupled line input) at this rate.
            const double rc = 1.0 / (2 * 3.14159265358979 * 100.0), dt = 1.0 / rate, k = rc / (rc + dt);
            auto hp = std::make_shared<std::array<double, 2>>();  // last input, last output
            const std::vector<Leitung> leitungen = {
                {"10 dB", rauschen(10, a, art.haltend, 3)},
                {"+15 % DC", [](double x) { return x + 0.15 * 128; }},
                {"-15 % DC", [](double x) { return x - 0.15 * 128; }},
                {"100 Hz AC", [hp, k](double x) {
                     auto& z = *hp;
                     z[1] = k * (z[1] + x - z[0]);
                     z[0] = x;
                     return z[1];
                 }},
            };
            for (const Leitung& l : leitungen) {
                SCOPED_TRACE(art.name + " " + std::to_string(rate) + " " + l.name);
                const auto m = dekodiert(empfangen(art, rate, l.f), rate, art.pocBaudRates, true);
                EXPECT_EQ(art.anzahl(m), 1u);
                EXPECT_EQ(m.fms.size() + m.zvei.size() + m.poc.size() + m.tonrufA.size(), 1u);
            }
        }
    }
}

// The events in order, without the level reports (the filtered path reports a
// signal up to a buffer later).
std::vector<std::string> meldungen(const test::Mitschrift& m) {
    std::vector<std::string> r;
    for (const std::string& s : m.reihenfolge)
        if (s != "Signalstaerke") r.push_back(s);
    return r;
}

TEST(Empfangsfilter, ReportsWhatTheRawPathReportsOnCleanAudio) {
    for (const Art& art : alleArten()) {
        SCOPED_TRACE(art.name);
        const auto mono = empfangen(art, 22050, [](double x) { return x; });
        const auto roh = dekodiert(mono, 22050, art.pocBaudRates, false);
        const auto gefiltert = dekodiert(mono, 22050, art.pocBaudRates, true);
        EXPECT_EQ(meldungen(roh), meldungen(gefiltert));
        if (!roh.fms.empty() && !gefiltert.fms.empty()) {
            EXPECT_EQ(roh.fms[0].Kennung, gefiltert.fms[0].Kennung);
            EXPECT_EQ(roh.fms[0].Text, gefiltert.fms[0].Text);
        }
        if (!roh.zvei.empty() && !gefiltert.zvei.empty()) {
            EXPECT_EQ(roh.zvei[0].ZVEINr, gefiltert.zvei[0].ZVEINr);
        }
        if (!roh.poc.empty() && !gefiltert.poc.empty()) {
            EXPECT_EQ(roh.poc[0].RIC, gefiltert.poc[0].RIC);
            EXPECT_EQ(roh.poc[0].Funktion, gefiltert.poc[0].Funktion);
            EXPECT_EQ(roh.poc[0].TextBin, gefiltert.poc[0].TextBin);
        }
    }
}

TEST(Empfangsfilter, ALongToneCallInNoiseIsOneCall) {
    const Art lang{"Tonruf-II-lang", [](Funkwandler& f) { return f.TonrufSenden(3, 0, 0); },
                   [](const test::Mitschrift& m) { return m.tonrufA.size(); }};
    for (int rate : {11025, 22050, 44100}) {
        for (double snr : {20.0, 10.0}) {
            SCOPED_TRACE(std::to_string(rate) + " Hz " + std::to_string(snr) + " dB");
            const auto m = dekodiert(empfangen(lang, rate, rauschen(snr, 60, false, 9)), rate, 0, true);
            ASSERT_EQ(m.tonrufA.size(), 1u);
            EXPECT_EQ(m.tonrufA[0].tonruf, 3);
            EXPECT_TRUE(m.zvei.empty());
        }
    }
}

TEST(Empfangsfilter, SilenceHumAndNoiseAloneGiveNoEvent) {
    for (int rate : {11025, 22050, 44100}) {
        const std::size_t n = static_cast<std::size_t>(rate) * 8;
        std::vector<std::uint8_t> stille(n, 128), brummen(n), laerm(n);
        std::mt19937 gen(17);
        std::normal_distribution<double> v(0.0, 40.0);
        for (std::size_t i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / rate;
            brummen[i] = static_cast<std::uint8_t>(
                std::lround(128 + 20 + 80 * std::sin(2 * 3.14159265358979 * 50 * t) + 10 * std::sin(2 * 3.14159265358979 * 150 * t)));
            laerm[i] = static_cast<std::uint8_t>(std::clamp(std::lround(128 + v(gen)), 0L, 255L));
        }
        for (const auto* signal : {&stille, &brummen, &laerm}) {
            for (Integer baud : {Integer{0}, Integer{1}}) {
                SCOPED_TRACE(std::to_string(rate) + " Hz, input " + std::to_string(signal == &stille ? 0 : signal == &brummen ? 1 : 2));
                const auto m = dekodiert(*signal, rate, baud, true);
                EXPECT_TRUE(m.fms.empty() && m.zvei.empty() && m.poc.empty() && m.tonrufA.empty());
            }
        }
    }
}

// ---- Real receivers: audio that no transmitter of ours made ----

// A message whose last codeword is codeword 16 of its batch, and nothing after
// that batch: the transmitter stops there.
std::string pocBisBatchEnde(const std::string& text, Long& ric) {
    std::string t = text;
    auto woerter = PocTextWoerter(t);
    if (woerter.size() % 2 == 0) woerter = PocTextWoerter(t += "!");
    const Long rahmen = static_cast<Long>((15 - woerter.size()) / 2);
    ric = 8 * 12345 + rahmen;
    auto folge = PocBatchFolge(ric, PocAdresswort(ric, 3), woerter);
    folge.resize(folge.size() - 17);  // the batch of idle codewords after it
    return test::pocPraambel(576) + test::pocWorte(folge);
}

TEST(Empfangsfilter, AMessageEndingWithItsBatchIsWhole) {
    const std::string text = "Keller Brand Hauptstr. 12";
    for (int rate : {11025, 22050, 44100}) {
        for (int baud : {512, 1200}) {
            for (double snr : {30.0, 12.0}) {
                for (bool stille : {false, true}) {  // after it noise (open squelch) or exact silence
                    SCOPED_TRACE(std::to_string(rate) + " Hz " + std::to_string(baud) + " Bd " + std::to_string(snr) +
                                 " dB" + (stille ? " Stille" : " Rauschen"));
                    Long ric = 0;
                    std::vector<double> x(static_cast<std::size_t>(rate / 4), 0.0);
                    const auto signal = test::pocZweiPegel(pocBisBatchEnde(text, ric), rate, baud);
                    x.insert(x.end(), signal.begin(), signal.end());
                    x.resize(x.size() + static_cast<std::size_t>(rate), 0.0);
                    test::mitRauschen(x, 1.0, snr, 7);
                    if (stille) std::fill(x.begin() + static_cast<std::ptrdiff_t>(rate / 4 + signal.size()), x.end(), 0.0);
                    const auto mono = test::mitPegel(x, -6);
                    for (bool filter : {true, false}) {
                        if (!filter && snr < 20) continue;
                        SCOPED_TRACE(filter ? "mit Filter" : "ohne Filter");
                        const auto m = dekodiert(mono, rate, baud == 1200 ? 1 : 0, filter);
                        ASSERT_EQ(m.poc.size(), 1u);
                        EXPECT_EQ(m.poc[0].RIC, ric);
                        EXPECT_EQ(m.poc[0].Text.substr(0, text.size()), text);
                    }
                }
            }
        }
    }
}

TEST(Empfangsfilter, PocsagTrafficInNoiseGivesNoFmsTelegram) {
    // The FFSK conditioner once read POCSAG's baseband steps as FFSK bits, and
    // now and then a stretch of them passed the check word.
    for (int baud : {512, 1200}) {
        for (double snr : {20.0, 15.0, 10.0}) {
            SCOPED_TRACE(std::to_string(baud) + " Bd " + std::to_string(snr) + " dB");
            std::vector<test::PocMeldung> gesendet;
            const auto x = test::pocVerkehr(6, 22050, baud, snr, static_cast<unsigned>(baud + snr), gesendet);
            const auto m = dekodiert(test::mitPegel(x, -6), 22050, baud == 1200 ? 1 : 0, true);
            EXPECT_TRUE(m.fms.empty());
            EXPECT_TRUE(m.zvei.empty() && m.tonrufA.empty());
            ASSERT_EQ(m.poc.size(), gesendet.size());
            for (std::size_t i = 0; i < gesendet.size(); ++i) EXPECT_EQ(m.poc[i].RIC, gesendet[i].ric);
        }
    }
}

TEST(Empfangsfilter, EveryLevelFromFullScaleDownToMinus50DbfsDecodesAlike) {
    // 20 dB of noise on each signal; at -50 dBFS the 8-bit input carries little
    // more than the sign, as a quiet line input does.
    const int rate = 22050;
    struct Fall {
        std::string name;
        std::vector<double> x;
        Integer baud = 0;
        std::function<bool(const test::Mitschrift&)> richtig;
    };
    std::vector<Fall> faelle;
    {
        std::vector<test::PocMeldung> g;
        for (int baud : {512, 1200}) {
            auto x = test::pocVerkehr(1, rate, baud, 20, 3, g);
            const auto erwartet = g.back();
            faelle.push_back({"POCSAG " + std::to_string(baud), x, Integer{baud == 1200},
                              [erwartet](const test::Mitschrift& m) {
                                  return m.poc.size() == 1 && m.poc[0].RIC == erwartet.ric &&
                                         m.poc[0].Text.substr(0, erwartet.text.size()) == erwartet.text;
                              }});
        }
    }
    for (const Art& art : alleArten()) {
        if (art.haltend) continue;  // POCSAG above, with an exact clock
        const auto s = test::hochtasten(sendung(art.senden), rate / 11025);
        std::vector<double> x(static_cast<std::size_t>(rate / 4), 0.0);
        for (std::uint8_t p : s) x.push_back((p - 128.0) / 64.0);  // the transmit level 60 near full scale
        x.resize(x.size() + static_cast<std::size_t>(rate / 2), 0.0);
        double leistung = 0;
        for (double v : x) leistung += v * v;
        test::mitRauschen(x, leistung / static_cast<double>(s.size()), 20, 11);
        const auto anzahl = art.anzahl;
        faelle.push_back({art.name, x, 0, [anzahl](const test::Mitschrift& m) {
                              return anzahl(m) == 1 && m.fms.size() + m.zvei.size() + m.poc.size() + m.tonrufA.size() == 1;
                          }});
    }
    for (const Fall& f : faelle) {
        double spitze = 0;
        for (double v : f.x) spitze = std::max(spitze, std::fabs(v));
        for (double dbfs : {0.0, -10.0, -20.0, -30.0, -40.0, -50.0}) {
            SCOPED_TRACE(f.name + " " + std::to_string(dbfs) + " dBFS");
            std::vector<double> x(f.x);
            for (double& v : x) v /= spitze;  // peaks at full scale
            EXPECT_TRUE(f.richtig(dekodiert(test::mitPegel(x, dbfs), rate, f.baud, true)));
        }
    }
}

// The conditioners carry their state from buffer to buffer, and both channels
// are averaged and normalised together when both are on: how the audio is cut
// into buffers, and whether the other channel is on, must not change a run.
TEST(Empfangsfilter, BufferSizesAndTheOtherChannelLeaveEveryRunAsItIs) {
    using Laufliste = std::vector<std::pair<int, int>>;
    struct Ergebnis {
        std::array<std::array<Laufliste, 3>, 2> laeufe;  // [channel][FMS, POCSAG, tone]
    };
    const auto durch = [](const std::vector<std::uint8_t>& stereo, int rate, const std::vector<int>& groessen,
                          bool rechtsAn) {
        Einstellungen e;
        e.Abtastrate = rate;
        if (!rechtsAn) e.Dekodieren[1] = {0, 0, 0, 0, 0};
        Empfangsfilter filter;
        Ergebnis r;
        const int frames = static_cast<int>(stereo.size() / 2);
        std::size_t g = 0;
        for (int ab = 0; ab < frames;) {
            const int n = std::min(groessen[g++ % groessen.size()], frames - ab);
            const auto& t = filter.aufbereiten(stereo.data() + 2 * static_cast<std::size_t>(ab), n, e);
            for (std::size_t k = 0; k < 2; ++k)
                for (std::size_t pfad = 0; pfad < 3; ++pfad)
                    for (const Halbwelle& h : (pfad == 0 ? t.fms : pfad == 1 ? t.poc : t.ton)[k])
                        r.laeufe[k][pfad].emplace_back(h.Laenge, h.Pegel);
            ab += n;
        }
        return r;
    };
    const auto arten = alleArten();
    for (int rate : {11025, 22050, 44100}) {
        SCOPED_TRACE(rate);
        // Left FMS, right ZVEI, both in noise.
        const auto links = empfangen(arten[0], rate, rauschen(10, 60, false, 3));
        const auto rechts = empfangen(arten[1], rate, rauschen(10, 60, false, 4));
        std::vector<std::uint8_t> stereo;
        for (std::size_t i = 0; i < std::min(links.size(), rechts.size()); ++i) {
            stereo.push_back(links[i]);
            stereo.push_back(rechts[i]);
        }
        const Ergebnis ganz = durch(stereo, rate, {11025}, true);
        ASSERT_GT(ganz.laeufe[0][0].size(), 100u);
        const Ergebnis krumm = durch(stereo, rate, {1, 3, 7, 4097, 2, 5, 1000}, true);
        const Ergebnis allein = durch(stereo, rate, {3, 4097, 1}, false);
        for (std::size_t pfad = 0; pfad < 3; ++pfad) {
            SCOPED_TRACE(pfad);
            EXPECT_EQ(krumm.laeufe[0][pfad], ganz.laeufe[0][pfad]);
            EXPECT_EQ(krumm.laeufe[1][pfad], ganz.laeufe[1][pfad]);
            EXPECT_EQ(allein.laeufe[0][pfad], ganz.laeufe[0][pfad]);
        }
    }
}

// POCSAG's baseband fills a one-bit window like half a 1200 Hz cycle; only the
// FFSK band's share of the energy keeps the FMS path shut. Ten seconds of it,
// clean and at full level, must give the FMS decoder nothing but the filler
// wave (half-waves of 1/1200 s), never an FFSK bit.
TEST(Empfangsfilter, PocsagBasebandNeverOpensTheFmsPath) {
    std::mt19937 zufall(21);
    std::vector<std::uint8_t> stereo;
    double bitEnde = 0;
    bool eins = false;
    for (int i = 0; i < 10 * 11025; ++i) {
        if (i >= bitEnde) {
            eins = (zufall() & 1) != 0;
            bitEnde += 11025.0 / 1200.0;
        }
        stereo.push_back(eins ? 188 : 68);
        stereo.push_back(128);
    }
    Einstellungen e;
    Empfangsfilter filter;
    std::size_t laeufe = 0, ffsk = 0;
    for (std::size_t ab = 0; ab < stereo.size(); ab += 2 * 11025) {
        const auto& t = filter.aufbereiten(stereo.data() + ab, 11025, e);
        laeufe += t.fms[0].size();
        ffsk += static_cast<std::size_t>(std::count_if(t.fms[0].begin(), t.fms[0].end(),
                                                       [](const Halbwelle& h) { return h.Laenge < 9; }));
    }
    EXPECT_GT(laeufe, 10000u);
    EXPECT_EQ(ffsk, 0u);
}

}  // namespace
}  // namespace tonwerk
