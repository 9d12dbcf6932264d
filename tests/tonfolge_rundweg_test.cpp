// The control's own ZVEI sequences and tone calls, fed back through capture at
// every rate on either channel: each is recognised exactly once, nothing else.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "test_plattform.h"

namespace tonwerk {
namespace {

using test::TestKontrolle;

// A control whose transmit files go to a directory of its own.
struct Rundweg {
    TestKontrolle sender;
    std::filesystem::path verzeichnis;

    Rundweg() {
        static int zaehler = 0;
        verzeichnis = std::filesystem::temp_directory_path() /
                      ("tonwerk_rundweg_" + std::to_string(::getpid()) + "_" + std::to_string(zaehler++));
        std::filesystem::create_directories(verzeichnis);
        sender.fw.Sendeverzeichnis(verzeichnis);
    }
    ~Rundweg() { std::filesystem::remove_all(verzeichnis); }

    // The samples of the file the control played last (8-bit mono, 11025 Hz).
    std::vector<std::uint8_t> gespielt() const {
        std::ifstream f(sender.ausgabe.gespielt.back(), std::ios::binary);
        std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        return d.size() > 44 ? std::vector<std::uint8_t>(d.begin() + 44, d.end()) : std::vector<std::uint8_t>{};
    }
};

// The transmit audio as the capture would see it at `rate` (linear interpolation),
// followed by a little receiver noise that ends the runs still open.
std::vector<std::uint8_t> empfangen(const std::vector<std::uint8_t>& sendung, int rate) {
    const int faktor = rate / 11025;
    std::vector<std::uint8_t> mono;
    mono.reserve(sendung.size() * static_cast<std::size_t>(faktor));
    for (std::size_t i = 0; i < sendung.size(); ++i) {
        const double a = sendung[i];
        const double b = i + 1 < sendung.size() ? sendung[i + 1] : a;
        for (int k = 0; k < faktor; ++k) mono.push_back(static_cast<std::uint8_t>(std::lround(a + (b - a) * k / faktor)));
    }
    std::mt19937 gen(3);
    std::normal_distribution<double> rauschen(128.0, 6.0);
    for (int i = 0; i < rate / 5; ++i) mono.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(rauschen(gen)), 0L, 255L)));
    return mono;
}

struct Fall {
    int rate;
    Integer kanal;
};

std::vector<Fall> alleFaelle() {
    std::vector<Fall> f;
    for (int rate : {11025, 22050, 44100})
        for (Integer kanal : {Integer{0}, Integer{1}}) f.push_back({rate, kanal});
    return f;
}

// Feeds `sendung` on one channel of a fresh receiving control.
test::Mitschrift hoeren(const std::vector<std::uint8_t>& sendung, const Fall& fall) {
    TestKontrolle empfaenger;
    empfaenger.fw.Samplerates(fall.rate == 22050 ? 1 : fall.rate == 44100 ? 2 : 0);
    empfaenger.fw.SoundStart();
    const auto mono = empfangen(sendung, fall.rate);
    empfaenger.einspeisen(fall.kanal == 0 ? test::stereo(mono, {}) : test::stereo({}, mono));
    return empfaenger.ereignisse;
}

TEST(TonfolgeRundweg, ZveiSequencesWithAndWithoutRepetitionAndAdditionalSignals) {
    struct Sendung {
        std::string nr;
        Boolean doppelt;
        Long zusatz;
    };
    const std::vector<Sendung> sendungen = {{"12345", Falsch, 0}, {"11234", Wahr, 0}, {"90W17", Falsch, 1},
                                            {"55555", Wahr, 2},   {"16273", Falsch, 3}, {"24680", Falsch, 4},
                                            {"13579", Wahr, 5},   {"00000", Falsch, 6}, {"31415", Falsch, 9}};
    for (const Sendung& s : sendungen) {
        Rundweg r;
        ASSERT_EQ(r.sender.fw.ZVEISenden(s.nr, s.doppelt, s.zusatz, 0, 0), 0);
        const auto sendung = r.gespielt();
        std::string erwartet = s.nr;
        if (erwartet[2] == 'W') erwartet[2] = erwartet[1];
        for (const Fall& fall : alleFaelle()) {
            SCOPED_TRACE(s.nr + " rate " + std::to_string(fall.rate) + " Kanal " + std::to_string(fall.kanal));
            const test::Mitschrift m = hoeren(sendung, fall);
            ASSERT_EQ(m.zvei.size(), s.doppelt ? 2u : 1u);
            for (const ZVEIType& z : m.zvei) {
                EXPECT_EQ(z.Kanal, fall.kanal);
                EXPECT_EQ(z.ZVEINr, erwartet);
            }
            EXPECT_TRUE(m.tonrufA.empty());
            EXPECT_TRUE(m.fms.empty());
            EXPECT_TRUE(m.poc.empty());
            // The additional signal, at the whole-degree steps of the transmitter
            // (1240 Hz goes out as 1225 Hz), once; 9 sends none.
            if (s.zusatz >= 1 && s.zusatz <= 6) {
                ASSERT_EQ(m.zusatzton.size(), 1u);
                EXPECT_EQ(m.zusatzton[0].Kanal, fall.kanal);
                EXPECT_EQ(m.zusatzton[0].Zusatzton, s.zusatz);
            } else {
                EXPECT_TRUE(m.zusatzton.empty());
            }
        }
    }
}

TEST(TonfolgeRundweg, RisingSequenceAlsoPassesAsADriftingToneCallAt11025) {
    // 1670 to 2400 Hz in 70 ms steps: at 11025 Hz no period differs from the one
    // before it by more than a sample, so the tone-call decoder, which follows a
    // drifting tone, times the whole sequence as one 1750 Hz tone of about 700
    // periods. At the higher rates the steps are more than a sample.
    Rundweg r;
    r.sender.fw.ZVEISenden("67890", Falsch, 0, 0, 0);
    const auto sendung = r.gespielt();
    for (const Fall& fall : alleFaelle()) {
        SCOPED_TRACE(fall.rate);
        const test::Mitschrift m = hoeren(sendung, fall);
        ASSERT_EQ(m.zvei.size(), 1u);
        EXPECT_EQ(m.zvei[0].ZVEINr, "67890");
        EXPECT_EQ(m.tonruf, fall.rate == 11025 ? std::vector<Long>{0} : std::vector<Long>{});
    }
}

TEST(TonfolgeRundweg, ToneCalls) {
    for (Long ruf : {0, 1, 2, 3, 4}) {
        Rundweg r;
        ASSERT_EQ(r.sender.fw.TonrufSenden(ruf, 0, 0), 0);
        const auto sendung = r.gespielt();
        for (const Fall& fall : alleFaelle()) {
            SCOPED_TRACE("Tonruf " + std::to_string(ruf) + " rate " + std::to_string(fall.rate) + " Kanal " +
                         std::to_string(fall.kanal));
            const test::Mitschrift m = hoeren(sendung, fall);
            if (ruf == 4) {
                EXPECT_TRUE(m.tonrufA.empty());  // 1000 Hz is no tone call
            } else {
                ASSERT_EQ(m.tonrufA.size(), 1u);
                EXPECT_EQ(m.tonrufA[0].Kanal, fall.kanal);
                EXPECT_EQ(m.tonrufA[0].tonruf, ruf);
                EXPECT_EQ(m.tonruf, (std::vector<Long>{ruf}));
            }
            EXPECT_TRUE(m.zvei.empty());
        }
    }
}

}  // namespace
}  // namespace tonwerk
