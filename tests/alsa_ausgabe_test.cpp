#include "tonwerk/platform/alsa_ausgabe.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "alsa_testumgebung.h"
#include "tonwerk/platform/alsa_meldungen.h"

namespace tonwerk {
namespace {

class AlsaAusgabeTest : public ::testing::Test {
protected:
    test::AlsaTestumgebung alsa;

    std::filesystem::path schreibeWav(const char* name, int format, int kanaele, int rate,
                                      const std::vector<short>& werte) {
        auto pfad = alsa.verzeichnis() / name;
        SF_INFO info{};
        info.format = format;
        info.channels = kanaele;
        info.samplerate = rate;
        SNDFILE* f = sf_open(pfad.c_str(), SFM_WRITE, &info);
        EXPECT_NE(f, nullptr) << sf_strerror(nullptr);
        sf_write_short(f, werte.data(), static_cast<sf_count_t>(werte.size()));
        sf_close(f);
        return pfad;
    }
};

TEST_F(AlsaAusgabeTest, PlaysTransmitAudioByteForByte) {
    // 8-bit mono at 11025 Hz, as the transmitters write it.
    std::vector<short> werte;
    std::vector<std::uint8_t> erwartet;
    for (int i = 0; i < 30000; ++i) {
        std::uint8_t b = static_cast<std::uint8_t>((i * 13) & 0xff);
        erwartet.push_back(b);
        werte.push_back(static_cast<short>((b - 128) << 8));
    }
    auto wav = schreibeWav("sende.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 11025, werte);
    AlsaAusgabe aus("tonwerk_aus");
    aus.abspielen(wav);
    EXPECT_EQ(alsa.leseAusgabe(), erwartet);
}

TEST_F(AlsaAusgabeTest, PlaysOtherFormatsAs16Bit) {
    std::vector<short> werte;
    for (int i = 0; i < 2 * 5000; ++i) werte.push_back(static_cast<short>(i * 37 - 20000));
    auto wav = schreibeWav("stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, werte);
    AlsaAusgabe("tonwerk_aus").abspielen(wav);
    auto bytes = alsa.leseAusgabe();
    ASSERT_EQ(bytes.size(), werte.size() * 2);
    EXPECT_EQ(std::memcmp(bytes.data(), werte.data(), bytes.size()), 0);
}

TEST_F(AlsaAusgabeTest, FailuresAreSystemErrors) {
    AlsaAusgabe aus("tonwerk_aus");
    try {
        aus.abspielen(alsa.verzeichnis() / "fehlt.wav");
        FAIL() << "a missing file must throw";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), std::errc::no_such_file_or_directory);
    }
    auto kaputt = alsa.verzeichnis() / "kaputt.wav";
    std::ofstream(kaputt) << "kein WAV";
    EXPECT_THROW(aus.abspielen(kaputt), std::system_error);

    auto wav = schreibeWav("kurz.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 11025, {0, 0});
    try {
        AlsaAusgabe("gibt_es_nicht").abspielen(wav);
        FAIL() << "a missing device must throw";
    } catch (const std::system_error& e) {
        // The device is named and the cause said once.
        const std::string text = e.what();
        const std::string grund = e.code().message();
        EXPECT_EQ(text.rfind("Ausgabegerät gibt_es_nicht: ", 0), 0u) << text;
        const auto erstes = text.find(grund);
        ASSERT_NE(erstes, std::string::npos) << text;
        EXPECT_EQ(text.find(grund, erstes + 1), std::string::npos) << text;
    }
}

// ALSA's own stderr lines go to the one handler: a failed open prints nothing
// of the library's; the program's error says it.
TEST_F(AlsaAusgabeTest, TheLibrarysOwnErrorLinesGoToTheHandler) {
    alsaMeldungenUmleiten();
    const int vorher = alsaMeldungenAnzahl();
    auto wav = schreibeWav("kurz2.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 11025, {0, 0});
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(AlsaAusgabe("gibt_es_nicht").abspielen(wav), std::system_error);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_GT(alsaMeldungenAnzahl(), vorher);
    EXPECT_NE(letzteAlsaMeldung().find("gibt_es_nicht"), std::string::npos) << letzteAlsaMeldung();
}

}  // namespace
}  // namespace tonwerk
