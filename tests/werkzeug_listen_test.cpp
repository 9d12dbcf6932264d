// listen reads both POCSAG bit rates: the live input hands each filled buffer to
// the control for the other rate, whose messages say their rate.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "alsa_testumgebung.h"
#include "befehle.h"
#include "live_kontrolle.h"
#include "zweite_rate.h"

namespace tonwerk::werkzeug {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPufferBytes = 2 * 5512;

// A POCSAG message as the tool sends it, as 8-bit stereo capture on the left,
// padded with silence to whole buffers and `stille` more.
std::vector<std::uint8_t> pocsagAufnahme(const std::string& baud, std::size_t stille) {
    const fs::path datei = fs::temp_directory_path() / ("tonwerk_listen_" + std::to_string(::getpid()) + ".wav");
    CLI::App app;
    sendePocsagBefehl(app);
    app.parse(std::vector<std::string>{datei.string(), "-o", "Alarm", "--text", baud, "--baud", "1234567", "--ric",
                                       "pocsag", "send"});
    SF_INFO info{};
    SNDFILE* f = sf_open(datei.c_str(), SFM_READ, &info);
    std::vector<short> mono(static_cast<std::size_t>(info.frames));
    sf_read_short(f, mono.data(), info.frames);
    sf_close(f);
    fs::remove(datei);
    std::vector<std::uint8_t> stereo;
    for (short s : mono) stereo.insert(stereo.end(), {static_cast<std::uint8_t>((s >> 8) + 128), 128});
    stereo.resize((stereo.size() / kPufferBytes + 1 + stille) * kPufferBytes, 128);
    return stereo;
}

TEST(WerkzeugListen, SecondRateHearsEveryCapturedBuffer) {
    test::AlsaTestumgebung alsa;
    const auto daten = pocsagAufnahme("1200", 4);
    alsa.schreibeEingabe(daten);
    std::ostringstream text;
    {
        LiveKontrolle live(0, 11025, {});
        EreignisAusgabe aus(text, false, false, [] { return 0.0; });
        ZweiteRate zweite(11025, {}, 1200, aus, false);
        std::vector<std::uint8_t> abgezweigt;
        live.eingang.abzweig = [&](const std::uint8_t* d, std::size_t n) {
            abgezweigt.insert(abgezweigt.end(), d, d + n);
            zweite.decoder().einspeisen(d, n);
        };
        live.fw.setListener(&aus);
        ASSERT_EQ(live.fw.SoundStart(), 0);
        const std::size_t puffer = daten.size() / kPufferBytes;
        // One tick per filled buffer, as the live loop gives them; the device
        // fills a buffer again only after the tick has queued it anew.
        for (std::size_t i = 0; i < puffer; ++i) {
            ASSERT_TRUE(live.eingang.warteAufGefuellt(i + 1));
            live.timer1.pruefen(std::chrono::steady_clock::now() + std::chrono::hours(1 + static_cast<int>(i)));
        }
        live.eingang.abzweig = nullptr;
        live.fw.setListener(nullptr);
        live.fw.Soundstop();
        zweite.decoder().beenden();
        // Every buffer once and in order (a tick may also take one the device
        // filled past the end of the input).
        ASSERT_GE(abgezweigt.size(), daten.size());
        EXPECT_EQ(abgezweigt.size() % kPufferBytes, 0u);
        EXPECT_TRUE(std::equal(daten.begin(), daten.end(), abgezweigt.begin()));
    }
    // The main control reads 512 bit/s and stays silent; the second one finds it.
    EXPECT_NE(text.str().find("RIC=1234567"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("Baud=1200  Text=\"Alarm"), std::string::npos) << text.str();
}

TEST(WerkzeugListen, FormatsInWords) {
    EXPECT_EQ(formateInWorten(0x222), "11025, 22050, 44100 Hz (8 Bit Stereo)");
    EXPECT_EQ(formateInWorten(0x200), "44100 Hz (8 Bit Stereo)");
    EXPECT_EQ(formateInWorten(0xDDD), "keine nutzbare Abtastrate (8 Bit Stereo)");
}

}  // namespace
}  // namespace tonwerk::werkzeug
