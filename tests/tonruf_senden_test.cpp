#include "tonwerk/transmit/tonruf_senden.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tonwerk/platform/aufnehmende_ausgabe.h"
#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {
namespace {

std::vector<std::uint8_t> audio(Long tonruf, Integer pegel = 60) {
    Einstellungen e;
    e.Ausgangspegel = pegel;
    Tongenerator g;
    TonrufSendeAudio(g, e, tonruf);
    return {g.Proben().begin(), g.Proben().end()};
}

// The tone's samples are those of phases 0, s, 2s, ... reduced by 360 once they reach it.
void tonPruefen(const std::vector<std::uint8_t>& a, int schritt, std::size_t proben) {
    int phase = 0;
    for (std::size_t i = 0; i < proben; ++i) {
        ASSERT_EQ(a[6615 + i], Abtastwert(phase, 60)) << i;
        phase += schritt;
        if (phase >= 360) phase -= 360;
    }
}

TEST(TonrufSenden, LengthsAndFrequencies) {
    const auto kurz = audio(0);
    ASSERT_EQ(kurz.size(), 18412u);
    ASSERT_EQ(audio(1).size(), 51487u);
    ASSERT_EQ(audio(2).size(), 18412u);
    ASSERT_EQ(audio(3).size(), 51487u);
    for (std::size_t i = 0; i < 6615; ++i) ASSERT_EQ(kurz[i], 128);
    for (std::size_t i = 6615 + 11025; i < kurz.size(); ++i) ASSERT_EQ(kurz[i], 128);
    // 1750 Hz: phases 0, 57, 114, 171, 228, ...
    EXPECT_EQ((std::vector<std::uint8_t>(kurz.begin() + 6615, kurz.begin() + 6620)),
              (std::vector<std::uint8_t>{128, 178, 182, 137, 83}));
    tonPruefen(kurz, 57, 11025);
    tonPruefen(audio(1), 57, 44100);
    tonPruefen(audio(3), 70, 44100);
}

TEST(TonrufSenden, OtherNumbersSendOneSecondOf1000Hz) {
    for (Long n : {4, -1, 100}) {
        const auto a = audio(n);
        ASSERT_EQ(a.size(), 18412u);
        tonPruefen(a, 33, 11025);
    }
}

TEST(TonrufSenden, WritesTheTransmitFileAndPlaysIt) {
    Einstellungen e;
    e.Sendeverzeichnis = std::filesystem::temp_directory_path() / ("tonwerk_tonruf_" + std::to_string(::getpid()));
    std::filesystem::create_directories(e.Sendeverzeichnis);
    AufnehmendeAusgabe ausgabe;
    Tongenerator g;
    EXPECT_EQ(TonrufSenden(g, ausgabe, e, 2), 0);
    ASSERT_EQ(ausgabe.gespielt.size(), 1u);
    const auto& datei = ausgabe.gespielt[0];
    ASSERT_EQ(datei.size(), 44u + 18412u);
    const auto le32 = [&](std::size_t o) {
        return static_cast<std::uint32_t>(datei[o] | datei[o + 1] << 8 | datei[o + 2] << 16 | datei[o + 3] << 24);
    };
    EXPECT_EQ(le32(4), 18412u + 36u);
    EXPECT_EQ(le32(40), 18412u);
    EXPECT_EQ(ausgabe.pfade[0].filename(), "test.wav");
    std::filesystem::remove_all(e.Sendeverzeichnis);
}

}  // namespace
}  // namespace tonwerk
