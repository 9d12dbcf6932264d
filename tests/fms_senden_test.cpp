#include "tonwerk/transmit/fms_senden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

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

// FNV-1a of a whole file, to pin its bytes.
std::uint64_t pruefsumme(const std::vector<std::uint8_t>& d) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::uint8_t b : d) h = (h ^ b) * 1099511628211ull;
    return h;
}

TEST_F(FmsSendenTest, LongLeadInIsWrittenToTheFileNotBuiltInMemory) {
    // The default lead-in gives the same bytes as ever.
    FMSSenden(g, ausgabe, e, "6A1B2345", 1, 10, 3, 0, "Straße §3");
    EXPECT_EQ(pruefsumme(ausgabe.gespielt.back()), 3891562400339142962ull);
    EXPECT_EQ(g.Probenzahl(), telegrammProben("6A1B2345", 1, 10, 3, 0, "Straße §3"));

    // 10 s: ten pieces of silence and a short rest, then the telegram.
    e.FMSSendeVorlauf = 10000;
    FMSSenden(g, ausgabe, e, "12345678", 0, 3, 0, 0, "");
    EXPECT_EQ(g.Probenzahl(), 625);  // the generator held the telegram only
    const auto& datei = ausgabe.gespielt.back();
    ASSERT_EQ(datei.size(), 44u + 110251 + 625);
    EXPECT_EQ(datei[40] | datei[41] << 8 | datei[42] << 16, 110251 + 625);
    FmsSendeAudio(g, e, "12345678", 0, 3, 0, 0, "");
    EXPECT_TRUE(std::equal(datei.begin() + 44, datei.end(), g.Proben().begin(), g.Proben().end()));
}

TEST_F(FmsSendenTest, LeadInBeyondTheWavSizeIsRefusedBeforeAnythingIsBuilt) {
    constexpr std::int64_t kMax = std::numeric_limits<Long>::max();
    const Long telegramm = telegrammProben("12345678", 0, 3, 0, 0, "");
    // The first lead-in that no longer fits beside the telegram.
    Long ms = static_cast<Long>(static_cast<double>(kMax - telegramm) / 11.025) - 2;
    while (FmsVorlaufProben(ms) + telegramm <= kMax) ++ms;
    EXPECT_EQ(FmsVorlaufProben(ms - 1) + telegramm, kMax - 5);
    EXPECT_EQ(FmsVorlaufProben(std::numeric_limits<Long>::max()), 23676007209);  // no 32-bit wrap

    for (Long zuLang : {ms, ms + 1, std::numeric_limits<Long>::max()}) {
        e.FMSSendeVorlauf = zuLang;
        try {
            FMSSenden(g, ausgabe, e, "12345678", 0, 3, 0, 0, "");
            ADD_FAILURE() << zuLang << " accepted";
        } catch (const std::overflow_error& f) {
            EXPECT_STREQ(f.what(), "FMSSendeVorlauf zu groß");
        }
        EXPECT_LE(g.Probenzahl(), telegramm);
        EXPECT_THROW(FmsSendeAudio(g, e, "12345678", 0, 3, 0, 0, ""), std::overflow_error);
        EXPECT_LE(g.Probenzahl(), telegramm);
    }
    EXPECT_TRUE(ausgabe.gespielt.empty());
    EXPECT_FALSE(fs::exists(e.Sendeverzeichnis / "test.wav"));
}

TEST_F(FmsSendenTest, FileErrorReachesTheCallerAndNothingIsPlayed) {
    e.Sendeverzeichnis /= "gibt_es_nicht";
    EXPECT_THROW(FMSSenden(g, ausgabe, e, "12345678", 0, 3, 0, 0, ""), std::system_error);
    EXPECT_TRUE(ausgabe.gespielt.empty());
}

}  // namespace
}  // namespace tonwerk
