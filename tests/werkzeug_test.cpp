// The tool's own parts: audio sources, property assignment, file decoding.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "audioquelle.h"
#include "datei_decoder.h"
#include "eigenschaften_setzen.h"

namespace tonwerk::werkzeug {
namespace {

TEST(WerkzeugAudio, SixteenBitBecomesEightBitByHighByteMonoToLeft) {
    const std::int16_t mono[] = {-32768, -1, 0, 255, 256, 32767};
    std::vector<std::uint8_t> s;
    nachAchtBitStereo(mono, 6, 1, s);
    EXPECT_EQ(s, (std::vector<std::uint8_t>{0, 128, 127, 128, 128, 128, 128, 128, 129, 128, 255, 128}));
    const std::int16_t stereo[] = {256, -256};
    s.clear();
    nachAchtBitStereo(stereo, 1, 2, s);
    EXPECT_EQ(s, (std::vector<std::uint8_t>{129, 127}));
}

TEST(WerkzeugAudio, NearestCaptureRate) {
    EXPECT_EQ(naechsteErfassungsrate(8000), 11025);
    EXPECT_EQ(naechsteErfassungsrate(16000), 11025);
    EXPECT_EQ(naechsteErfassungsrate(32000), 22050);
    EXPECT_EQ(naechsteErfassungsrate(48000), 44100);
    EXPECT_EQ(naechsteErfassungsrate(96000), 44100);
}

TEST(WerkzeugAudio, RawStreamKeepsFramesCutBetweenReads) {
    std::FILE* f = std::tmpfile();
    const unsigned char bytes[] = {0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0xFF};  // 3 frames of 2 channels... and 1 odd byte
    std::fwrite(bytes, 1, sizeof bytes, f);
    std::rewind(f);
    auto q = rohdatenOeffnen(f, 11025, 1);
    std::vector<std::int16_t> s;
    EXPECT_EQ(q->lesen(s, 2), 2u);
    EXPECT_EQ(s, (std::vector<std::int16_t>{256, 512}));
    EXPECT_EQ(q->lesen(s, 2), 1u);  // the dangling byte is not a frame
    EXPECT_EQ(s, (std::vector<std::int16_t>{768}));
    EXPECT_EQ(q->lesen(s, 2), 0u);
    std::fclose(f);
    EXPECT_THROW(rohdatenOeffnen(stdin, 11025, 3), std::runtime_error);
}

TEST(WerkzeugAudio, ResamplerKeepsDurationAndFrequency) {
    const auto pfad = std::filesystem::temp_directory_path() / ("tonwerk_umtast_test_" + std::to_string(::getpid()) + ".wav");
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(pfad.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr);
    std::vector<short> ton(48000);
    for (std::size_t i = 0; i < ton.size(); ++i)
        ton[i] = static_cast<short>(16000 * std::sin(2 * M_PI * 1750.0 * static_cast<double>(i) / 48000.0));
    sf_write_short(f, ton.data(), static_cast<sf_count_t>(ton.size()));
    sf_close(f);

    auto q = aufErfassungsrate(dateiOeffnen(pfad.string()));
    EXPECT_EQ(q->abtastrate(), 44100);
    EXPECT_EQ(q->frames(), 44100);
    std::vector<std::int16_t> s, alle;
    while (q->lesen(s, 1000) > 0) alle.insert(alle.end(), s.begin(), s.end());
    EXPECT_NEAR(static_cast<double>(alle.size()), 44100.0, 50.0);
    int wechsel = 0;
    for (std::size_t i = 1000; i + 1 < 43000; ++i) wechsel += (alle[i] < 0) != (alle[i + 1] < 0);
    EXPECT_NEAR(wechsel / 2.0 / (42000.0 / 44100.0), 1750.0, 5.0);
    std::filesystem::remove(pfad);
}

TEST(WerkzeugAudio, MissingOrBrokenFileIsAReadableError) {
    EXPECT_THROW(dateiOeffnen("/nicht/da.wav"), std::runtime_error);
    const auto pfad = std::filesystem::temp_directory_path() / ("tonwerk_kaputt_test_" + std::to_string(::getpid()) + ".wav");
    std::ofstream(pfad) << "RIFF\x10\0\0\0WAVEkaputt";
    EXPECT_THROW(dateiOeffnen(pfad.string()), std::runtime_error);
    std::filesystem::remove(pfad);
}

TEST(WerkzeugSetzen, ValuesTakeTheTypeOfTheProperty) {
    DateiDecoder d(11025);
    Funkwandler& fw = d.kontrolle();
    eigenschaftSetzen(fw, "PocBaudRates=1");
    EXPECT_EQ(fw.PocBaudRates(), 1);
    eigenschaftSetzen(fw, "DecRechtsFMS=False");
    EXPECT_EQ(fw.DecRechtsFMS(), Falsch);
    eigenschaftSetzen(fw, "PocSyncWord=0101");
    EXPECT_EQ(fw.PocSyncWord(), "0101");
    EXPECT_THROW(eigenschaftSetzen(fw, "Gibtsnicht=1"), std::invalid_argument);
    EXPECT_THROW(eigenschaftSetzen(fw, "SoundStart=1"), std::invalid_argument);
    EXPECT_THROW(eigenschaftSetzen(fw, "Ausgangspegel"), std::invalid_argument);
    EXPECT_THROW(eigenschaftSetzen(fw, "Ausgangspegel=viel"), std::invalid_argument);
    EXPECT_THROW(eigenschaftSetzen(fw, "Ausgangspegel=12x"), std::invalid_argument);
    EXPECT_THROW(eigenschaftSetzen(fw, "Ausgangspegel=40000"), std::out_of_range);
    EXPECT_THROW(eigenschaftSetzen(fw, "SoundCard=99999999999"), std::out_of_range);
    EXPECT_EQ(fw.Ausgangspegel(), 60);
}

TEST(WerkzeugDecoder, RejectsRatesTheCaptureDoesNotHave) { EXPECT_THROW(DateiDecoder(48000), std::runtime_error); }

struct Zaehler : FunkwandlerListener {
    std::vector<double> zeiten;
    std::function<double()> uhr;
    void FMSDecodierung(FmsTlgType&) override { zeiten.push_back(uhr()); }
};

// Reads a sample recording, cut after `bisSekunde` and followed by a second of
// digital silence, and decodes it.
std::vector<double> fmsZeiten(double bisSekunde, const std::string& pfad = TONWERK_TESTDATA "/fms_11025_snr40.wav") {
    auto q = dateiOeffnen(pfad);
    DateiDecoder d(q->abtastrate());
    Zaehler z;
    z.uhr = [&d] { return d.zeit(); };
    d.kontrolle().setListener(&z);
    d.starten();
    std::vector<std::int16_t> s;
    std::vector<std::uint8_t> stereo;
    auto rest = static_cast<std::size_t>(bisSekunde * q->abtastrate());
    while (rest > 0) {
        const std::size_t n = q->lesen(s, std::min<std::size_t>(rest, 4096));
        if (n == 0) break;
        stereo.clear();
        nachAchtBitStereo(s.data(), n, q->kanaele(), stereo);
        d.einspeisen(stereo);
        rest -= n;
    }
    stereo.assign(2 * static_cast<std::size_t>(q->abtastrate()), 128);
    d.einspeisen(stereo);
    d.beenden();
    return z.zeiten;
}

TEST(WerkzeugDecoder, EveryTelegramOfAFileWithTimesInOrder) {
    const auto zeiten = fmsZeiten(1e9);
    ASSERT_EQ(zeiten.size(), 8u);
    EXPECT_TRUE(std::is_sorted(zeiten.begin(), zeiten.end()));
    EXPECT_LE(zeiten.back(), 5.6);
}

TEST(WerkzeugDecoder, TelegramRightAtTheEndOfTheInputIsReported) {
    std::ifstream j(std::string(TONWERK_TESTDATA) + "/fms_11025_snr40.json");
    const auto info = nlohmann::json::parse(j);
    const double ende = info["files"][0]["signals"][0]["t_end"].get<double>();
    // Silence follows the first telegram's last half-wave: nothing ends the
    // runs in progress but the end of the input.
    EXPECT_EQ(fmsZeiten(ende).size(), 1u);
}

// A recording cut off before its header got the lengths: the header says 0 data
// bytes, the audio follows all the same.
TEST(WerkzeugDecoder, AudioBehindAHeaderClaimingLessIsRead) {
    namespace fs = std::filesystem;
    const fs::path verzeichnis = fs::temp_directory_path() / ("tonwerk_kopf_" + std::to_string(::getpid()));
    fs::create_directories(verzeichnis);
    const std::string original = std::string(TONWERK_TESTDATA) + "/fms_11025_snr40.wav";
    const fs::path abgebrochen = verzeichnis / "abgebrochen.wav";
    fs::copy_file(original, abgebrochen);
    std::int64_t frames = 0;
    {
        std::fstream f(abgebrochen, std::ios::in | std::ios::out | std::ios::binary);
        std::string bytes(4096, '\0');
        f.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const auto data = bytes.find("data");
        ASSERT_NE(data, std::string::npos);
        f.clear();
        f.seekp(static_cast<std::streamoff>(data + 4));
        f.write("\0\0\0\0", 4);
        frames = dateiOeffnen(original)->frames();
    }
    const auto q = dateiOeffnen(abgebrochen.string());
    EXPECT_EQ(q->frames(), frames);
    EXPECT_NE(q->hinweis().find("0 Datenbytes"), std::string::npos) << q->hinweis();
    EXPECT_EQ(q->hinweis().find('\n'), std::string::npos);
    EXPECT_EQ(fmsZeiten(1e9, abgebrochen.string()), fmsZeiten(1e9));

    // Metadata behind the audio is no audio: such a file is read as its header says.
    const fs::path mitListe = verzeichnis / "liste.wav";
    SF_INFO info{};
    info.samplerate = 11025;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(mitListe.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr);
    sf_set_string(f, SF_STR_TITLE, "Einsatz");
    const std::vector<short> ton(1001, 1000);
    sf_write_short(f, ton.data(), static_cast<sf_count_t>(ton.size()));
    sf_close(f);
    const auto l = dateiOeffnen(mitListe.string());
    EXPECT_EQ(l->frames(), 1001);
    EXPECT_EQ(l->hinweis(), "");
    fs::remove_all(verzeichnis);
}

// The sample recording rewritten in another sample format.
std::filesystem::path umgeschrieben(int format, const std::string& name) {
    auto q = dateiOeffnen(TONWERK_TESTDATA "/fms_11025_snr40.wav");
    const auto pfad = std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()) + ".wav");
    SF_INFO info{};
    info.samplerate = q->abtastrate();
    info.channels = q->kanaele();
    info.format = SF_FORMAT_WAV | format;
    SNDFILE* f = sf_open(pfad.c_str(), SFM_WRITE, &info);
    EXPECT_NE(f, nullptr);
    std::vector<std::int16_t> s;
    std::vector<double> d;
    while (const std::size_t n = q->lesen(s, 4096)) {
        d.assign(s.begin(), s.end());
        for (double& x : d) x /= 32768.0;
        sf_writef_double(f, d.data(), static_cast<sf_count_t>(n));
    }
    sf_close(f);
    return pfad;
}

TEST(WerkzeugAudio, FloatFilesDecodeLikeIntegerOnes) {
    for (int format : {SF_FORMAT_FLOAT, SF_FORMAT_DOUBLE}) {
        const auto pfad = umgeschrieben(format, "tonwerk_gleitkomma_");
        EXPECT_EQ(fmsZeiten(1e9, pfad.string()).size(), 8u) << format;
        // Full scale reads as full scale, not as ±1.
        auto q = dateiOeffnen(pfad.string());
        std::vector<std::int16_t> s;
        int spitze = 0;
        while (q->lesen(s, 4096))
            for (auto x : s) spitze = std::max(spitze, std::abs(int{x}));
        EXPECT_GT(spitze, 8000);
        std::filesystem::remove(pfad);
    }
}

TEST(WerkzeugAudio, DirectoryIsNoAudioFile) {
    try {
        dateiOeffnen(std::filesystem::temp_directory_path().string());
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("Verzeichnis"), std::string::npos) << e.what();
    }
}

// Every frame of `q`, interleaved.
std::vector<std::int16_t> alleSamples(AudioQuelle& q) {
    std::vector<std::int16_t> s, alle;
    while (q.lesen(s, 1000)) alle.insert(alle.end(), s.begin(), s.end());
    return alle;
}

TEST(WerkzeugAudio, WavOnStandardInputIsReadAsAFile) {
    for (int format : {SF_FORMAT_PCM_16, SF_FORMAT_PCM_U8, SF_FORMAT_PCM_24, SF_FORMAT_FLOAT, SF_FORMAT_DOUBLE}) {
        const auto pfad = umgeschrieben(format, "tonwerk_strom_");
        std::FILE* ein = std::fopen(pfad.c_str(), "rb");
        ASSERT_NE(ein, nullptr);
        auto strom = eingabeOeffnen(ein, 0, 1);
        EXPECT_EQ(strom->abtastrate(), 11025);
        auto datei = dateiOeffnen(pfad.string());
        const auto erwartet = alleSamples(*datei);
        const auto gelesen = alleSamples(*strom);
        ASSERT_EQ(gelesen.size(), erwartet.size()) << format;
        // libsndfile rounds 8 and 24 bits its own way; one step of 8 bits at most.
        for (std::size_t i = 0; i < gelesen.size(); i += 97) EXPECT_NEAR(gelesen[i], erwartet[i], 256) << i;
        std::fclose(ein);
        std::filesystem::remove(pfad);
    }
}

TEST(WerkzeugAudio, RawStandardInputNeedsARateAndKeepsItsFirstBytes) {
    std::FILE* f = std::tmpfile();
    const unsigned char bytes[] = {0x00, 0x01, 0x00, 0x02, 0x00, 0x03};
    std::fwrite(bytes, 1, sizeof bytes, f);
    std::rewind(f);
    EXPECT_THROW(eingabeOeffnen(f, 0, 1), std::runtime_error);
    std::rewind(f);
    auto q = eingabeOeffnen(f, 11025, 1);
    EXPECT_EQ(alleSamples(*q), (std::vector<std::int16_t>{256, 512, 768}));
    std::fclose(f);
    // A RIFF header cut short is an error, not audio.
    std::FILE* kurz = std::tmpfile();
    std::fwrite("RIFF\x10\0\0\0WAVEfmt ", 1, 16, kurz);
    std::rewind(kurz);
    EXPECT_THROW(eingabeOeffnen(kurz, 11025, 1), std::runtime_error);
    std::fclose(kurz);
}

}  // namespace
}  // namespace tonwerk::werkzeug
