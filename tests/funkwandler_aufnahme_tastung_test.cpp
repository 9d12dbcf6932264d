// Recording and keying through the control: simulated input, hand-ticked
// timers, a simulated serial port.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "test_plattform.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/simulierter_anschluss.h"

namespace tonwerk {
namespace {

namespace fs = std::filesystem;

struct Kontrolle : Bestueckung<SimulierterEingang, test::StummeAusgabe, SimulierterAnschluss> {
    test::Mitschrift ereignisse;

    Kontrolle() { fw.setListener(&ereignisse); }
    ~Kontrolle() { fw.setListener(nullptr); }

    // Lets the device fill one buffer and runs the tick that processes it.
    void puffer() {
        ASSERT_GT(eingang.fuellen(), 0u);
        timer1.tick();
    }
};

std::vector<std::uint8_t> lesen(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}
std::uint32_t le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}

class FunkwandlerAufnahme : public ::testing::Test {
protected:
    fs::path verzeichnis = fs::temp_directory_path() / ("tonwerk-fw-aufnahme-" + std::to_string(::getpid()) + "-" +
                                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Kontrolle k;
    void SetUp() override { fs::create_directories(verzeichnis); }
    void TearDown() override { fs::remove_all(verzeichnis); }
    std::string datei(const char* name) const { return (verzeichnis / name).string(); }
};

TEST_F(FunkwandlerAufnahme, TenSecondsEndWithWaveRecordEndAndEveryCapturedFrame) {
    std::vector<std::uint8_t> audio(20 * 11024);
    for (std::size_t i = 0; i < audio.size(); ++i) audio[i] = static_cast<std::uint8_t>(i * 5 + i / 1000);
    k.eingang.anhaengen(audio);
    ASSERT_EQ(k.fw.SoundStart(), 0);
    ASSERT_EQ(k.fw.FunkAufzeichnen(10, datei("zehn.wav")), 0);
    for (int s = 0; s < 10; ++s) {
        k.puffer();
        k.puffer();
        EXPECT_TRUE(k.ereignisse.recordEnde.empty());
        k.timer2.tick();
    }
    ASSERT_EQ(k.ereignisse.recordEnde, std::vector<Long>{0});
    EXPECT_EQ(k.ereignisse.reihenfolge.back(), "WaveRecordEnd");
    auto d = lesen(datei("zehn.wav"));
    ASSERT_EQ(d.size(), 220524u);
    EXPECT_EQ(le32(d, 4), 220516u);
    EXPECT_EQ(le32(d, 40), 220480u);
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), d.begin() + 44));
    k.fw.Soundstop();
    EXPECT_EQ(k.ereignisse.recordEnde.size(), 1u);
}

TEST_F(FunkwandlerAufnahme, SoundstopEndsTheRecordingWithoutEvent) {
    std::vector<std::uint8_t> audio(3 * 2 * 8196, 100);
    k.eingang.anhaengen(audio);
    k.fw.Samplerates(1);
    ASSERT_EQ(k.fw.SoundStart(), 0);
    ASSERT_EQ(k.fw.FunkAufzeichnen(30, datei("stop.wav")), 0);
    k.puffer();
    k.timer2.tick();
    k.puffer();
    k.fw.Soundstop();
    EXPECT_TRUE(k.ereignisse.recordEnde.empty());
    EXPECT_FALSE(k.fw.aufnahme().AufnahmeAktiv());

    SF_INFO info{};
    SNDFILE* f = sf_open(datei("stop.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 22050);
    EXPECT_EQ(info.frames, 2 * 8196);
    sf_close(f);
}

TEST_F(FunkwandlerAufnahme, NothingIsCountedOrWrittenWhileCaptureIsStopped) {
    ASSERT_EQ(k.fw.FunkAufzeichnen(1, datei("wartet.wav")), 0);
    k.timer2.tick();  // Timer2 is disabled until SoundStart
    EXPECT_TRUE(k.fw.aufnahme().AufnahmeAktiv());
    EXPECT_EQ(fs::file_size(datei("wartet.wav")), 44u);

    k.eingang.anhaengen(std::vector<std::uint8_t>(11024, 128));
    ASSERT_EQ(k.fw.SoundStart(), 0);
    k.puffer();
    k.timer2.tick();
    EXPECT_EQ(k.ereignisse.recordEnde.size(), 1u);
    EXPECT_EQ(fs::file_size(datei("wartet.wav")), 44u + 11024u);
}

TEST_F(FunkwandlerAufnahme, ReachableByName) {
    std::vector<Wert> args{Long{0}, datei("c.wav")};
    EXPECT_EQ(std::get<Long>(k.fw.aufrufen("FunkAufzeichnen", args)), 2);
    args[0] = Long{3};
    EXPECT_EQ(std::get<Long>(k.fw.aufrufen("FunkAufzeichnen", args)), 0);
    EXPECT_EQ(std::get<Long>(k.fw.aufrufen("FunkAufzeichnen", args)), 1);
}

TEST(FunkwandlerTastung, KeysThroughTheControlsPort) {
    Kontrolle k;
    EXPECT_EQ(k.fw.FunkSenden(1), 0);
    EXPECT_EQ(k.anschluss.port(), 1);
    EXPECT_TRUE(k.anschluss.dtrHoch());
    EXPECT_FALSE(k.anschluss.rtsHoch());

    k.fw.FunkAnschluss(2);
    EXPECT_FALSE(k.anschluss.offen());
    EXPECT_EQ(k.fw.FunkAnschluss(), 2);
    EXPECT_EQ(k.fw.einstellungen().FunkAnschluss, 2);
    k.fw.FunkAnschluss(5);
    EXPECT_EQ(k.fw.FunkAnschluss(), 2);

    k.anschluss.vorhanden = {1};
    std::vector<Wert> args{Long{1}};
    EXPECT_EQ(std::get<Long>(k.fw.aufrufen("FunkSenden", args)), 1);
    k.fw.schreiben("FunkAnschluss", Long{1});
    EXPECT_EQ(std::get<Long>(k.fw.aufrufen("FunkSenden", args)), 0);
    EXPECT_EQ(std::get<Long>(k.fw.aufrufen("FunkEmpfangen", args)), 0);
    EXPECT_FALSE(k.anschluss.dtrHoch());
}

TEST(FunkwandlerTastung, DestroyingTheControlReleasesTheTransmitter) {
    SimulierterEingang eingang;
    test::StummeAusgabe ausgabe;
    SimulierterAnschluss port;
    HandZeitgeber timer1, timer2;
    SchrittUhr uhr;
    {
        Funkwandler fw(Plattform{eingang, ausgabe, port, timer1, timer2, uhr});
        ASSERT_EQ(fw.FunkSenden(2), 0);
        ASSERT_TRUE(port.rtsHoch());
    }
    EXPECT_FALSE(port.offen());
    EXPECT_FALSE(port.rtsHoch());
}

}  // namespace
}  // namespace tonwerk
