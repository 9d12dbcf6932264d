#include "tonwerk/transmit/sendedatei.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "tonwerk/platform/aufnehmende_ausgabe.h"
#include "tonwerk/transmit/wav_kopf.h"

namespace tonwerk {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> lesen(const fs::path& p) {
    std::ifstream d(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(d), std::istreambuf_iterator<char>()};
}

class SendedateiTest : public ::testing::Test {
protected:
    void SetUp() override {
        verzeichnis = fs::temp_directory_path() /
                      ("tonwerk_sendedatei_" + std::to_string(::getpid()) + "_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(verzeichnis);
        e.Sendeverzeichnis = verzeichnis;
    }
    void TearDown() override { fs::remove_all(verzeichnis); }

    fs::path verzeichnis;
    Einstellungen e;
};

TEST(WavKopf, TransmitHeaderBytes) {
    const auto k = WavKopf(2831);
    const std::vector<std::uint8_t> erwartet = {
        'R', 'I', 'F', 'F', 0x33, 0x0B, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0,
        1,   0,   0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a', 0x0F, 0x0B, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(k.begin(), k.end()), erwartet);
}

TEST(WavKopf, EmptyTransmissionAndStereoRecording) {
    const auto leer = WavKopf(0);
    EXPECT_EQ(leer[4], 36);
    EXPECT_EQ(leer[40] | leer[41] | leer[42] | leer[43], 0);
    // A recording at 22050 Hz stereo: 44100 bytes per second, 2 bytes per frame.
    const auto s = WavKopf(220436, 2, 22050, 8);
    EXPECT_EQ(s[22], 2);
    EXPECT_EQ(s[28] | s[29] << 8 | s[30] << 16, 44100);
    EXPECT_EQ(s[32], 2);
    EXPECT_EQ(s[4] | s[5] << 8 | s[6] << 16, 220472);
}

TEST_F(SendedateiTest, WritesHeaderAndSamplesReplacingALongerFile) {
    const auto pfad = sendedateiPfad(e, kSendedatei);
    EXPECT_EQ(pfad, verzeichnis / "test.wav");
    std::ofstream(pfad) << std::string(500, 'x');
    const std::vector<std::uint8_t> proben = {128, 165, 186, 1, 254};
    SendedateiSchreiben(pfad, proben);
    auto datei = lesen(pfad);
    ASSERT_EQ(datei.size(), 49u);
    const auto kopf = WavKopf(5);
    EXPECT_TRUE(std::equal(kopf.begin(), kopf.end(), datei.begin()));
    EXPECT_EQ(std::vector<std::uint8_t>(datei.begin() + 44, datei.end()), proben);
}

TEST_F(SendedateiTest, FileErrorsCarryErrno) {
    const std::vector<std::uint8_t> proben = {128};
    try {
        SendedateiSchreiben(verzeichnis / "fehlt" / "test.wav", proben);
        FAIL() << "no exception";
    } catch (const std::system_error& f) {
        EXPECT_EQ(f.code().value(), ENOENT);
    }
    // A directory in the way cannot be deleted as a file.
    fs::create_directory(verzeichnis / "test.wav");
    EXPECT_THROW(SendedateiSchreiben(verzeichnis / "test.wav", proben), std::system_error);
}

TEST_F(SendedateiTest, LeadingSilenceIsWrittenAndAnOversizedFileRefused) {
    const auto pfad = verzeichnis / "test.wav";
    const std::vector<std::uint8_t> proben = {1, 2};
    SendedateiSchreiben(pfad, proben, 11025 * 2 + 3);
    auto datei = lesen(pfad);
    ASSERT_EQ(datei.size(), 44u + 22053u + 2u);
    const auto kopf = WavKopf(22055);
    EXPECT_TRUE(std::equal(kopf.begin(), kopf.end(), datei.begin()));
    EXPECT_TRUE(std::all_of(datei.begin() + 44, datei.end() - 2, [](auto p) { return p == 128; }));
    EXPECT_EQ(datei.back(), 2);

    // A size the header cannot state leaves the old file alone.
    for (std::int64_t stille : {std::int64_t{0xFFFFFFFF} - 36 - 1, std::int64_t{-1}})
        EXPECT_THROW(SendedateiSchreiben(pfad, proben, stille), std::overflow_error) << stille;
    EXPECT_EQ(lesen(pfad), datei);
}

TEST_F(SendedateiTest, SendenPlaysTheWrittenFile) {
    AufnehmendeAusgabe ausgabe;
    const std::vector<std::uint8_t> proben(100, 77);
    SendedateiSenden(e, kPocSendedatei, proben, ausgabe);
    ASSERT_EQ(ausgabe.gespielt.size(), 1u);
    EXPECT_EQ(ausgabe.pfade[0], verzeichnis / "pocaus.wav");
    EXPECT_EQ(ausgabe.gespielt[0], lesen(verzeichnis / "pocaus.wav"));
    EXPECT_EQ(ausgabe.gespielt[0].size(), 144u);
}

}  // namespace
}  // namespace tonwerk
