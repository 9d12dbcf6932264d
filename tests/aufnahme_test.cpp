#include "tonwerk/core/aufnahme.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace tonwerk {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> lesen(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::uint32_t le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}
std::uint16_t le16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}

std::vector<std::uint8_t> block(std::size_t bytes, int nummer) {
    std::vector<std::uint8_t> b(bytes);
    for (std::size_t i = 0; i < bytes; ++i) b[i] = static_cast<std::uint8_t>(i * 3 + nummer * 17);
    return b;
}

class AufnahmeTest : public ::testing::Test {
protected:
    fs::path verzeichnis = fs::temp_directory_path() / ("tonwerk-aufnahme-" + std::to_string(::getpid()) + "-" +
                                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Einstellungen e;
    int enden = 0;
    Aufnahme aufnahme{e, [this] { ++enden; }};

    void SetUp() override { fs::create_directories(verzeichnis); }
    void TearDown() override { fs::remove_all(verzeichnis); }
    std::string datei(const char* name) const { return (verzeichnis / name).string(); }
};

TEST_F(AufnahmeTest, TenSecondsOfTwentyBuffersKeepEveryFrame) {
    ASSERT_EQ(aufnahme.FunkAufzeichnen(10, datei("a.wav")), 0);
    std::vector<std::uint8_t> audio;
    for (int s = 1; s <= 10; ++s) {
        for (int b = 0; b < 2; ++b) {
            auto daten = block(11024, 2 * s + b);
            aufnahme.blockSchreiben(daten.data(), daten.size());
            audio.insert(audio.end(), daten.begin(), daten.end());
        }
        EXPECT_EQ(enden, 0) << "second " << s;
        aufnahme.sekunde();
    }
    EXPECT_EQ(enden, 1);
    EXPECT_FALSE(aufnahme.AufnahmeAktiv());
    EXPECT_EQ(aufnahme.AufnahmeBloecke(), 20);

    auto d = lesen(datei("a.wav"));
    ASSERT_EQ(d.size(), 220524u);
    EXPECT_EQ(std::string(d.begin(), d.begin() + 4), "RIFF");
    EXPECT_EQ(le32(d, 4), 220516u);
    EXPECT_EQ(std::string(d.begin() + 8, d.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le32(d, 16), 16u);
    EXPECT_EQ(le16(d, 20), 1);
    EXPECT_EQ(le16(d, 22), 2);
    EXPECT_EQ(le32(d, 24), 11025u);
    EXPECT_EQ(le32(d, 28), 22050u);
    EXPECT_EQ(le16(d, 32), 2);
    EXPECT_EQ(le16(d, 34), 8);
    EXPECT_EQ(std::string(d.begin() + 36, d.begin() + 40), "data");
    EXPECT_EQ(le32(d, 40), 220480u);
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), d.begin() + 44));

    // Blocks and seconds after the end touch nothing.
    aufnahme.blockSchreiben(audio.data(), 100);
    aufnahme.sekunde();
    EXPECT_EQ(enden, 1);
    EXPECT_EQ(fs::file_size(datei("a.wav")), 220524u);
}

TEST_F(AufnahmeTest, ReadsBackAsStereo8BitAtTheCaptureRate) {
    e.Abtastrate = 22050;
    ASSERT_EQ(aufnahme.FunkAufzeichnen(2, datei("b.wav")), 0);
    auto daten = block(2 * 8196, 1);
    aufnahme.blockSchreiben(daten.data(), daten.size());
    aufnahme.sekunde();
    aufnahme.sekunde();
    ASSERT_EQ(enden, 1);

    SF_INFO info{};
    SNDFILE* f = sf_open(datei("b.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 22050);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
    EXPECT_EQ(info.frames, 8196);
    std::vector<short> werte(2 * 8196);
    EXPECT_EQ(sf_readf_short(f, werte.data(), 8196), 8196);
    sf_close(f);
    EXPECT_EQ(werte[0], (daten[0] - 128) * 256);
    EXPECT_EQ(werte[16391], (daten[16391] - 128) * 256);
}

TEST_F(AufnahmeTest, RestartKeepsTheFirstFileAndCountsAgain) {
    ASSERT_EQ(aufnahme.FunkAufzeichnen(10, datei("erste.wav")), 0);
    auto daten = block(100, 0);
    aufnahme.blockSchreiben(daten.data(), daten.size());
    for (int i = 0; i < 8; ++i) aufnahme.sekunde();
    EXPECT_EQ(aufnahme.FunkAufzeichnen(5, datei("zweite.wav")), 1);
    EXPECT_FALSE(fs::exists(datei("zweite.wav")));
    EXPECT_EQ(aufnahme.AufnahmeName(), datei("erste.wav"));
    aufnahme.blockSchreiben(daten.data(), daten.size());
    for (int i = 0; i < 4; ++i) aufnahme.sekunde();
    EXPECT_EQ(enden, 0);
    aufnahme.sekunde();
    EXPECT_EQ(enden, 1);
    EXPECT_EQ(fs::file_size(datei("erste.wav")), 244u);
}

// A recording cut off (a crash, power loss) is read while it still runs: the
// header states every second completed, only the audio after the last second is
// beyond it.
TEST_F(AufnahmeTest, InterruptedRecordingStatesTheAudioUpToItsLastSecond) {
    ASSERT_EQ(aufnahme.FunkAufzeichnen(60, datei("abbruch.wav")), 0);
    std::vector<std::uint8_t> audio;
    const auto schreiben = [&](int nummer) {
        auto daten = block(11025, nummer);
        aufnahme.blockSchreiben(daten.data(), daten.size());
        audio.insert(audio.end(), daten.begin(), daten.end());
    };
    for (int s = 1; s <= 3; ++s) {
        schreiben(2 * s);
        schreiben(2 * s + 1);
        aufnahme.sekunde();
        const auto d = lesen(datei("abbruch.wav"));
        EXPECT_EQ(le32(d, 40), audio.size()) << "second " << s;
        EXPECT_EQ(le32(d, 4), audio.size() + 36) << "second " << s;
    }
    schreiben(9);  // half a second more, then the recorder is gone
    fs::copy_file(datei("abbruch.wav"), datei("kopie.wav"));

    const auto d = lesen(datei("kopie.wav"));
    ASSERT_EQ(d.size(), 44u + audio.size());
    EXPECT_EQ(le32(d, 40), 3u * 22050u);
    EXPECT_EQ(le32(d, 4), 3u * 22050u + 36u);
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), d.begin() + 44));
    SF_INFO info{};
    SNDFILE* f = sf_open(datei("kopie.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.frames, 3 * 11025);
    sf_close(f);
}

TEST_F(AufnahmeTest, ZeroLengthDoesNothing) {
    EXPECT_EQ(aufnahme.FunkAufzeichnen(0, datei("null.wav")), 2);
    EXPECT_FALSE(fs::exists(datei("null.wav")));
    EXPECT_FALSE(aufnahme.AufnahmeAktiv());
}

TEST_F(AufnahmeTest, LengthOutsideIntegerFailsAndChangesNothing) {
    EXPECT_THROW(aufnahme.FunkAufzeichnen(32768, datei("gross.wav")), std::overflow_error);
    EXPECT_THROW(aufnahme.FunkAufzeichnen(-32769, datei("gross.wav")), std::overflow_error);
    EXPECT_FALSE(fs::exists(datei("gross.wav")));
    ASSERT_EQ(aufnahme.FunkAufzeichnen(32767, datei("gross.wav")), 0);
    EXPECT_THROW(aufnahme.FunkAufzeichnen(40000, datei("x.wav")), std::overflow_error);
    EXPECT_EQ(aufnahme.AufnahmeDauer(), 32767);
}

TEST_F(AufnahmeTest, NegativeLengthEndsAtTheFirstSecond) {
    ASSERT_EQ(aufnahme.FunkAufzeichnen(-3, datei("neg.wav")), 0);
    aufnahme.sekunde();
    EXPECT_EQ(enden, 1);
    EXPECT_FALSE(aufnahme.AufnahmeAktiv());
}

TEST_F(AufnahmeTest, StopEndsWithHeaderButWithoutEvent) {
    ASSERT_EQ(aufnahme.FunkAufzeichnen(10, datei("stop.wav")), 0);
    auto daten = block(11024, 3);
    aufnahme.blockSchreiben(daten.data(), daten.size());
    aufnahme.sekunde();
    aufnahme.beenden();
    EXPECT_EQ(enden, 0);
    EXPECT_FALSE(aufnahme.AufnahmeAktiv());
    auto d = lesen(datei("stop.wav"));
    ASSERT_EQ(d.size(), 44u + 11024u);
    EXPECT_EQ(le32(d, 4), 36u + 11024u);
    EXPECT_EQ(le32(d, 40), 11024u);
}

TEST_F(AufnahmeTest, EmptyRecordingHasAValidEmptyHeader) {
    {
        // An existing file is truncated.
        std::ofstream(datei("leer.wav")) << std::string(5000, 'x');
    }
    ASSERT_EQ(aufnahme.FunkAufzeichnen(1, datei("leer.wav")), 0);
    aufnahme.beenden();
    auto d = lesen(datei("leer.wav"));
    ASSERT_EQ(d.size(), 44u);
    EXPECT_EQ(le32(d, 4), 36u);
    EXPECT_EQ(le32(d, 40), 0u);
    SF_INFO info{};
    SNDFILE* f = sf_open(datei("leer.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.frames, 0);
    sf_close(f);
}

TEST_F(AufnahmeTest, FileThatCannotBeCreatedRecordsNothing) {
    EXPECT_EQ(aufnahme.FunkAufzeichnen(1, datei("fehlt/x.wav")), 0);
    EXPECT_FALSE(aufnahme.AufnahmeAktiv());
    auto daten = block(10, 0);
    aufnahme.blockSchreiben(daten.data(), daten.size());
    aufnahme.sekunde();
    EXPECT_EQ(enden, 0);
    EXPECT_EQ(aufnahme.AufnahmeBloecke(), 0);
    // The next call starts afresh.
    EXPECT_EQ(aufnahme.FunkAufzeichnen(1, datei("da.wav")), 0);
    EXPECT_TRUE(aufnahme.AufnahmeAktiv());
}

TEST_F(AufnahmeTest, EventHandlerMayStartTheNextRecording) {
    Einstellungen e2;
    Aufnahme* selbst = nullptr;
    Long zweite = -1;
    Aufnahme a(e2, [&] { zweite = selbst->FunkAufzeichnen(1, datei("folge.wav")); });
    selbst = &a;
    ASSERT_EQ(a.FunkAufzeichnen(1, datei("erst.wav")), 0);
    a.sekunde();
    EXPECT_EQ(zweite, 0);
    EXPECT_TRUE(a.AufnahmeAktiv());
    EXPECT_EQ(a.AufnahmeName(), datei("folge.wav"));
}

TEST_F(AufnahmeTest, DestructionCompletesARunningRecording) {
    {
        Aufnahme a(e, [] { FAIL() << "no event on destruction"; });
        ASSERT_EQ(a.FunkAufzeichnen(100, datei("ende.wav")), 0);
        auto daten = block(20, 0);
        a.blockSchreiben(daten.data(), daten.size());
    }
    auto d = lesen(datei("ende.wav"));
    ASSERT_EQ(d.size(), 64u);
    EXPECT_EQ(le32(d, 40), 20u);
}

}  // namespace
}  // namespace tonwerk
