#include "tonwerk/transmit/fms_senden.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tonwerk/platform/aufnehmende_ausgabe.h"
#include "tonwerk/transmit/sendedatei.h"

namespace tonwerk {
namespace {

namespace fs = std::filesystem;

class FmsSendenTest : public ::testing::Test {
protected:
    void SetUp() override {
        e.Sendeverzeichnis = fs::temp_directory_path() / ("tonwerk_fms_senden_" + std::to_string(::getpid()));
        fs::create_directories(e.Sendeverzeichnis);
    }
    void TearDown() override { fs::remove_all(e.Sendeverzeichnis); }

    // Samples after the lead-in of a call with the given fields.
    Long telegrammProben(std::string_view kennung, Integer richtung, Integer status, Integer tki, Integer baustufe,
                         std::string_view text) {
        Einstellungen ohneVorlauf = e;
        ohneVorlauf.FMSSendeVorlauf = -1;
        FmsSendeAudio(g, ohneVorlauf, kennung, richtung, status, tki, baustufe, text);
        return g.Probenzahl();
    }

    Einstellungen e;
    Tongenerator g;
    AufnehmendeAusgabe ausgabe;
};

TEST_F(FmsSendenTest, WritesLeadInAndTelegramAndPlaysIt) {
    EXPECT_EQ(FMSSenden(g, ausgabe, e, "12345678", 0, 3, 0, 0, ""), 0);
    ASSERT_EQ(ausgabe.gespielt.size(), 1u);
    EXPECT_EQ(ausgabe.pfade[0], e.Sendeverzeichnis / "test.wav");
    const auto& datei = ausgabe.gespielt[0];
    ASSERT_EQ(datei.size(), 44u + 2831);
    EXPECT_EQ(datei[40] | datei[41] << 8, 2831);
    EXPECT_EQ(datei[4] | datei[5] << 8, 2831 + 36);
    // 2206 silent samples; the first bit's first sample (phase 0) is silent as well.
    EXPECT_TRUE(std::all_of(datei.begin() + 44, datei.begin() + 44 + 2207, [](auto p) { return p == 128; }));
    EXPECT_EQ(datei[44 + 2207], 165);
}

TEST_F(FmsSendenTest, TelegramSampleCounts) {
    EXPECT_EQ(telegrammProben("12345678", 0, 3, 0, 0, ""), 625);
    EXPECT_EQ(telegrammProben("00000000", 0, 0, 0, 0, ""), 624);
    EXPECT_EQ(telegrammProben("6A1B2345", 1, 10, 3, 0, "Test"), 1504);
    const Long ohneText = telegrammProben("6A1B2345", 1, 10, 2, 0, "");
    e.FMSKurztextTRBOS = Wahr;
    EXPECT_EQ(telegrammProben("6A1B2345", 1, 10, 2, 0, "Test"), ohneText);
}

TEST_F(FmsSendenTest, LeadInLength) {
    const Long telegramm = telegrammProben("12345678", 0, 3, 0, 0, "");
    for (auto [ms, proben] : {std::pair<Long, Long>{0, 1}, {1, 12}, {200, 2206}, {-5, 0}}) {
        e.FMSSendeVorlauf = ms;
        FmsSendeAudio(g, e, "12345678", 0, 3, 0, 0, "");
        EXPECT_EQ(g.Probenzahl() - telegramm, proben) << ms;
    }
}

TEST_F(FmsSendenTest, IdenticalCallsGiveIdenticalFilesAtTheLevelSet) {
    e.Ausgangspegel = 127;
    FMSSenden(g, ausgabe, e, "6A1B2345", 1, 10, 3, 0, "Straße §3");
    g.Phase = 77;
    FMSSenden(g, ausgabe, e, "6A1B2345", 1, 10, 3, 0, "Straße §3");
    ASSERT_EQ(ausgabe.gespielt.size(), 2u);
    EXPECT_EQ(ausgabe.gespielt[0], ausgabe.gespielt[1]);
    EXPECT_EQ(*std::max_element(ausgabe.gespielt[0].begin() + 44, ausgabe.gespielt[0].end()), 254);
    EXPECT_EQ(*std::min_element(ausgabe.gespielt[0].begin() + 44, ausgabe.gespielt[0].end()), 1);
}

TEST_F(FmsSendenTest, FileErrorReachesTheCallerAndNothingIsPlayed) {
    e.Sendeverzeichnis /= "gibt_es_nicht";
    EXPECT_THROW(FMSSenden(g, ausgabe, e, "12345678", 0, 3, 0, 0, ""), std::system_error);
    EXPECT_TRUE(ausgabe.gespielt.empty());
}

}  // namespace
}  // namespace tonwerk
