// A signal followed by exact silence (a receiver with a hard squelch delivers
// mid-scale 128) is reported right after its end, not when the next sound comes,
// once, and not again when sound resumes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "fms_hilfen.h"
#include "test_plattform.h"

namespace tonwerk {
namespace {

namespace fs = std::filesystem;

// A control whose transmit files go to a directory of its own.
struct Sender {
    test::TestKontrolle t;
    fs::path verzeichnis;

    Sender() {
        static int zaehler = 0;
        verzeichnis = fs::temp_directory_path() /
                      ("tonwerk_signalende_" + std::to_string(::getpid()) + "_" + std::to_string(zaehler++));
        fs::create_directories(verzeichnis);
        t.fw.Sendeverzeichnis(verzeichnis);
    }
    ~Sender() { fs::remove_all(verzeichnis); }

    // The samples of the file played last (8-bit mono, 11025 Hz).
    std::vector<std::uint8_t> gespielt() const {
        std::ifstream f(t.ausgabe.gespielt.back(), std::ios::binary);
        std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        return d.size() > 44 ? std::vector<std::uint8_t>(d.begin() + 44, d.end()) : std::vector<std::uint8_t>{};
    }
};

// The channels of a kind's reports, one per report.
template <class Satz>
std::vector<Integer> kanaeleVon(const std::vector<Satz>& saetze) {
    std::vector<Integer> k;
    for (const Satz& s : saetze) k.push_back(static_cast<Integer>(s.Kanal));
    return k;
}

struct Art {
    std::string name;
    std::function<Long(Funkwandler&)> senden;
    std::function<std::vector<Integer>(const test::Mitschrift&)> meldungen;
    Integer pocBaudRates = 0;
    // Two-level audio as a sound card samples it (held), tones interpolated.
    bool haltend = false;
};

std::vector<Art> alleArten() {
    const auto fms = [](const test::Mitschrift& m) { return kanaeleVon(m.fms); };
    const auto poc = [](const test::Mitschrift& m) { return kanaeleVon(m.poc); };
    const auto tonruf = [](const test::Mitschrift& m) { return kanaeleVon(m.tonrufA); };
    return {
        {"FMS", [](Funkwandler& f) { return f.FMSSenden("6A1B2345", 0, 3, 0, 0, "", 0, 0); }, fms},
        {"FMS-Kurztext", [](Funkwandler& f) { return f.FMSSenden("6A1B2345", 1, 10, 3, 0, "Stille", 0, 0); }, fms},
        {"ZVEI", [](Funkwandler& f) { return f.ZVEISenden("12345", Falsch, 0, 0, 0); },
         [](const test::Mitschrift& m) { return kanaeleVon(m.zvei); }},
        {"POCSAG-1200", [](Funkwandler& f) { return f.POCSenden(1, 1234567, 3, "Stille", 0, 0); }, poc, 1, true},
        {"POCSAG-512", [](Funkwandler& f) { return f.POCSenden(0, 8, 0, "Ende", 0, 0); }, poc, 0, true},
        {"Tonruf-I", [](Funkwandler& f) { return f.TonrufSenden(0, 0, 0); }, tonruf},
        {"Tonruf-II", [](Funkwandler& f) { return f.TonrufSenden(2, 0, 0); }, tonruf},
    };
}

std::vector<std::uint8_t> rauschen(std::size_t n) {
    std::mt19937 gen(11);
    std::normal_distribution<double> v(128.0, 30.0);
    std::vector<std::uint8_t> r(n);
    for (auto& x : r) x = static_cast<std::uint8_t>(std::clamp(std::lround(v(gen)), 0L, 255L));
    return r;
}

TEST(Signalende, EverySignalInExactSilenceIsReportedInTheTickAfterItsLastBuffer) {
    for (const Art& art : alleArten()) {
        Sender s;
        ASSERT_EQ(art.senden(s.t.fw), 0) << art.name;
        const auto sendung = s.gespielt();
        for (int rate : {11025, 22050, 44100}) {
            for (Integer kanal : {Integer{0}, Integer{1}}) {
                SCOPED_TRACE(art.name + " rate " + std::to_string(rate) + " Kanal " + std::to_string(kanal));
                test::TestKontrolle e;
                e.fw.Samplerates(rate == 22050 ? 1 : rate == 44100 ? 2 : 0);
                e.fw.PocBaudRates(art.pocBaudRates);
                ASSERT_EQ(e.fw.SoundStart(), 0);
                const auto frames = static_cast<std::size_t>(e.fw.RecordPufferSize());

                const int faktor = rate / 11025;
                std::vector<std::uint8_t> mono;
                if (art.haltend) {
                    for (std::uint8_t p : sendung) mono.insert(mono.end(), static_cast<std::size_t>(faktor), p);
                } else {
                    mono = test::hochtasten(sendung, faktor);
                }
                std::size_t letzte = 0;  // last frame off mid-scale: the end of the signal
                for (std::size_t i = 0; i < mono.size(); ++i)
                    if (mono[i] != 128) letzte = i;
                mono.resize(mono.size() + 4 * frames, 128);
                e.eingang.anhaengen(kanal == 0 ? test::stereo(mono, {}) : test::stereo({}, mono));

                std::vector<std::size_t> nachPuffer;  // reports after each tick
                while (e.eingang.fuellen() > 0) {
                    e.timer1.tick();
                    nachPuffer.push_back(art.meldungen(e.ereignisse).size());
                }
                const std::size_t b = letzte / frames;
                ASSERT_GT(nachPuffer.size(), b + 1);
                EXPECT_EQ(nachPuffer[b + 1], 1u) << "buffer " << b << " of " << nachPuffer.size();
                EXPECT_EQ(nachPuffer.back(), 1u);

                // Sound resumes: the silence now ends as a run, and nothing is reported twice.
                const auto laerm = rauschen(static_cast<std::size_t>(rate) / 2);
                e.einspeisen(kanal == 0 ? test::stereo(laerm, {}) : test::stereo({}, laerm));
                EXPECT_EQ(art.meldungen(e.ereignisse), std::vector<Integer>{kanal});
            }
        }
    }
}

}  // namespace
}  // namespace tonwerk
