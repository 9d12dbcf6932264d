// FMS through the control: FMSSenden's own audio fed back through the capture
// path (simulated input, dispatcher, decoder) at every rate and on either channel.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fms_hilfen.h"
#include "test_plattform.h"
#include "tonwerk/formats/zeichensatz.h"

namespace tonwerk {
namespace {

namespace fs = std::filesystem;

struct Gesendet {
    std::string kennung;
    Integer richtung, status, tki, baustufe;
    std::string text;
};

class FmsKontrolle {
public:
    explicit FmsKontrolle(Long samplerates) {
        verzeichnis_ = fs::temp_directory_path() /
                       ("tonwerk_fms_kontrolle_" + std::to_string(::getpid()) + "_" + std::to_string(zaehler_++));
        fs::create_directories(verzeichnis_);
        t.fw.Sendeverzeichnis(verzeichnis_);
        t.fw.Samplerates(samplerates);
    }
    ~FmsKontrolle() { fs::remove_all(verzeichnis_); }

    // Sends through the control and returns the samples of the transmit file.
    std::vector<std::uint8_t> senden(const Gesendet& g) {
        EXPECT_EQ(t.fw.FMSSenden(g.kennung, g.richtung, g.status, g.tki, g.baustufe, g.text, 0, 0), 0);
        std::ifstream d(verzeichnis_ / "test.wav", std::ios::binary);
        std::vector<std::uint8_t> datei{std::istreambuf_iterator<char>(d), std::istreambuf_iterator<char>()};
        EXPECT_GT(datei.size(), 44u);
        return {datei.begin() + 44, datei.end()};
    }

    // Mono 11025 Hz audio brought to the capture rate on one channel.
    std::vector<std::uint8_t> aufKanal(const std::vector<std::uint8_t>& mono, int kanal) const {
        const auto hoch = test::hochtasten(mono, t.fw.einstellungen().Abtastrate / 11025);
        const std::vector<std::uint8_t> leer;
        return kanal == 0 ? test::stereo(hoch, leer) : test::stereo(leer, hoch);
    }

    test::TestKontrolle t;

private:
    fs::path verzeichnis_;
    static inline int zaehler_ = 0;
};

void erwarteGleich(const FmsTlgType& r, const Gesendet& g, int kanal) {
    SCOPED_TRACE(g.kennung + " status " + std::to_string(g.status) + " richtung " + std::to_string(g.richtung));
    EXPECT_EQ(r.Kanal, kanal);
    EXPECT_EQ(r.Kennung, g.kennung);
    EXPECT_EQ(r.ort, g.kennung.substr(0, 4));
    EXPECT_EQ(r.fz, g.kennung.substr(4));
    EXPECT_EQ(r.Status, g.status);
    EXPECT_EQ(r.Richtung, g.richtung);
    EXPECT_EQ(r.tki, g.tki);
    EXPECT_EQ(r.Baustufe, g.baustufe);
    const bool mitText = g.status == 10 && g.richtung == 1 && !g.text.empty();
    EXPECT_EQ(r.Text, mitText ? test::gepolstert(g.text) : "");
    EXPECT_EQ(r.iskurztext, mitText ? -1 : 0);
    EXPECT_EQ(r.isfolgetelegramm, 0);
}

class FmsRundlauf : public ::testing::TestWithParam<std::tuple<Long, int>> {};

TEST_P(FmsRundlauf, EveryTelegramComesBackAsSent) {
    const auto [samplerates, kanal] = GetParam();
    FmsKontrolle k(samplerates);
    const std::string text99 = "Lage: Brand Müllbunker, §34 beachten. Zufahrt Südtor, Übergabe an ÖEL "
                               "Ärztin Jäger; Straße gesperrt";
    ASSERT_EQ(Utf8Dekodieren(text99).size(), 99u);
    std::vector<Gesendet> gesendet;
    for (Integer status = 0; status < 16; ++status) {
        for (Integer richtung = 0; richtung < 2; ++richtung) {
            gesendet.push_back({"6A1B2345", richtung, status, static_cast<Integer>((status + richtung) % 4),
                                static_cast<Integer>(status % 2), ""});
        }
    }
    gesendet.push_back({"F09E8D7C", 1, 10, 3, 0, text99});
    gesendet.push_back({"00000001", 1, 10, 1, 1, "Test"});

    std::vector<std::uint8_t> mono;
    for (const auto& g : gesendet) {
        const auto proben = k.senden(g);
        mono.insert(mono.end(), proben.begin(), proben.end());
    }
    mono.insert(mono.end(), 1000, 128);
    k.t.fw.SoundStart();
    k.t.einspeisen(k.aufKanal(mono, kanal));

    const auto& fms = k.t.ereignisse.fms;
    ASSERT_EQ(fms.size(), gesendet.size());
    for (std::size_t i = 0; i < fms.size(); ++i) erwarteGleich(fms[i], gesendet[i], kanal);
}

INSTANTIATE_TEST_SUITE_P(RatenUndKanaele, FmsRundlauf,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(0, 1)));

TEST(FmsKontrolleTest, TelegramSplitAcrossTwoCaptureBuffers) {
    FmsKontrolle k(0);
    const Gesendet g{"40213367", 0, 7, 2, 1, ""};
    auto mono = k.senden(g);
    // 2207 silent samples and 625 of telegram: move its middle onto the buffer boundary at 5512.
    mono.insert(mono.begin(), 5512 - 2207 - 300, 128);
    mono.insert(mono.end(), 1000, 128);
    k.t.fw.SoundStart();
    k.t.einspeisen(k.aufKanal(mono, 0));
    ASSERT_EQ(k.t.ereignisse.fms.size(), 1u);
    erwarteGleich(k.t.ereignisse.fms[0], g, 0);
    // The telegram was reported while the second buffer was dispatched.
    const auto& r = k.t.ereignisse.reihenfolge;
    const auto fms = std::find(r.begin(), r.end(), "FMSDecodierung");
    EXPECT_EQ(std::count(r.begin(), fms, "Signalstaerke"), 2);
}

TEST(FmsKontrolleTest, TelegramRunningToTheEndOfTheInputIsReported) {
    FmsKontrolle k(2);
    const Gesendet g{"9ABCDEF0", 1, 2, 0, 0, ""};
    k.t.fw.SoundStart();
    // The input stops in the telegram's last half-wave, at the end of a whole
    // buffer: nothing pads the last buffer, so no run of silence ends the signal.
    auto mono = k.senden(g);
    while (!mono.empty() && mono.back() == 128) mono.pop_back();
    const auto frames = static_cast<std::size_t>(k.t.fw.RecordPufferSize());
    const std::size_t faktor = 4;  // 44100 Hz
    const std::size_t rest = (mono.size() * faktor) % frames;
    if (rest != 0) mono.insert(mono.begin(), (frames - rest + faktor - 1) / faktor, 128);
    auto stereo = k.aufKanal(mono, 1);
    stereo.resize(stereo.size() / 2 / frames * frames * 2);
    k.t.einspeisen(stereo, false);
    EXPECT_TRUE(k.t.ereignisse.fms.empty());
    k.t.eingang.abschliessen();
    while (k.t.eingang.fuellen() > 0) k.t.timer1.tick();
    ASSERT_EQ(k.t.ereignisse.fms.size(), 1u);
    erwarteGleich(k.t.ereignisse.fms[0], g, 1);
}

TEST(FmsKontrolleTest, SwitchedOffChannelAndTrbosText) {
    FmsKontrolle k(0);
    k.t.fw.DecLinksFMS(Falsch);
    k.t.fw.FMSKurztextTRBOS(Wahr);
    const auto a = k.senden({"12345678", 1, 10, 2, 0, "ohne"});
    const auto b = k.senden({"12345678", 1, 10, 3, 0, "mit"});
    std::vector<std::uint8_t> mono(a);
    mono.insert(mono.end(), b.begin(), b.end());
    mono.insert(mono.end(), 1000, 128);
    const auto links = k.aufKanal(mono, 0);
    auto beide = links;
    for (std::size_t i = 0; i < beide.size(); i += 2) beide[i + 1] = beide[i];
    k.t.fw.SoundStart();
    k.t.einspeisen(beide);
    const auto& fms = k.t.ereignisse.fms;
    ASSERT_EQ(fms.size(), 2u);
    EXPECT_EQ(fms[0].Kanal, 1);
    EXPECT_EQ(fms[0].Text, "");
    EXPECT_EQ(fms[0].iskurztext, 0);
    EXPECT_EQ(fms[1].Text, "mit    ");
    EXPECT_EQ(fms[1].iskurztext, -1);
}

}  // namespace
}  // namespace tonwerk
