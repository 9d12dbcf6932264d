#include "tonwerk/decoders/fms_decoder.h"

#include <gtest/gtest.h>

#include "fms_hilfen.h"
#include "tonwerk/formats/fms_telegramm.h"

namespace tonwerk {
namespace {

using test::FmsEmpfaenger;
using test::idealTelegramm;

// Bits from the sync word on.
std::string abSync(std::string_view kennung, Integer status, Integer baustufe, Integer richtung, Integer tki,
                   std::string_view text = "") {
    return FmsTelegrammBits(kennung, status, baustufe, richtung, tki, text, Falsch).substr(12);
}

class FmsDecoderTest : public ::testing::Test {
protected:
    void laeufe(const std::vector<Halbwelle>& l, Integer kanal = 0) {
        kette.decoder.laufPruefung(kanal, l, kette.e, kette.k);
    }
    FmsEmpfaenger kette;
    std::vector<FmsTlgType>& gemeldet = kette.meldungen;
};

TEST_F(FmsDecoderTest, ReadsTheFieldsOfATelegram) {
    laeufe(idealTelegramm(abSync("6A1B2345", 3, 0, 0, 0)), 1);
    ASSERT_EQ(gemeldet.size(), 1u);
    const auto& t = gemeldet[0];
    EXPECT_EQ(t.Kanal, 1);
    EXPECT_EQ(t.Kennung, "6A1B2345");
    EXPECT_EQ(t.bos, 6);
    EXPECT_EQ(t.land, 10);
    EXPECT_EQ(t.ort, "6A1B");
    EXPECT_EQ(t.fz, "2345");
    EXPECT_EQ(t.Status, 3);
    EXPECT_EQ(t.Text, "");
    EXPECT_EQ(t.iskurztext, 0);
    EXPECT_EQ(t.isfolgetelegramm, 0);

    laeufe(idealTelegramm(abSync("F0000001", 15, 1, 1, 2)));
    ASSERT_EQ(gemeldet.size(), 2u);
    EXPECT_EQ(gemeldet[1].Kennung, "F0000001");
    EXPECT_EQ(gemeldet[1].Status, 15);
    EXPECT_EQ(gemeldet[1].Baustufe, 1);
    EXPECT_EQ(gemeldet[1].Richtung, 1);
    EXPECT_EQ(gemeldet[1].tki, 2);
}

TEST_F(FmsDecoderTest, VorlaufBounds) {
    const std::string bits = abSync("12345678", 3, 0, 0, 0);
    for (int vorlauf : {14, 15, 37, 38}) {
        gemeldet.clear();
        laeufe(idealTelegramm(bits, vorlauf));
        EXPECT_EQ(gemeldet.size(), vorlauf == 15 || vorlauf == 37 ? 1u : 0u) << vorlauf;
    }
    // Doubled property values are what the decoder compares against.
    kette.e.FMSVorlaufMin2 = 2 * 3;
    gemeldet.clear();
    laeufe(idealTelegramm(bits, 7));
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(FmsDecoderTest, CollectionMustExceedFortyRuns) {
    kette.e.FMScrcCheck = Falsch;
    // Sync word (21 runs) and nine one bits (18 runs): 39 runs, plus one stray run = 40.
    auto vierzig = idealTelegramm("00011010" + std::string(9, '1'));
    vierzig.insert(vierzig.end() - 1, Halbwelle{3, 0});
    laeufe(vierzig);
    EXPECT_TRUE(gemeldet.empty());
    laeufe(idealTelegramm("00011010" + std::string(10, '1')));
    ASSERT_EQ(gemeldet.size(), 1u);
    // Only the bits this candidate carried are read; the rest are zeros.
    EXPECT_EQ(gemeldet[0].Kennung, "FF300000");
}

TEST_F(FmsDecoderTest, LateStartIsRecoveredBySecondPass) {
    auto l = idealTelegramm(abSync("12345678", 3, 0, 0, 0));
    // The first short half-wave of the sync word looks long and is counted as Vorlauf.
    l[24].Laenge = 4;
    laeufe(l);
    ASSERT_EQ(gemeldet.size(), 1u);
    EXPECT_EQ(gemeldet[0].Kennung, "12345678");
    EXPECT_EQ(gemeldet[0].Status, 3);
}

TEST_F(FmsDecoderTest, CrcCheckRejectsAndCanBeSwitchedOff) {
    std::string bits = abSync("12345678", 3, 0, 0, 0);
    bits[8 + 5] = bits[8 + 5] == '1' ? '0' : '1';  // Kennung digit 2 damaged
    laeufe(idealTelegramm(bits));
    EXPECT_TRUE(gemeldet.empty());
    kette.e.FMScrcCheck = Falsch;
    laeufe(idealTelegramm(bits));
    ASSERT_EQ(gemeldet.size(), 1u);
    EXPECT_EQ(gemeldet[0].Kennung, "10345678");
    // Without any one bit in the telegram block nothing is reported, check or not.
    laeufe(idealTelegramm(abSync("00000000", 0, 0, 0, 0)));
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(FmsDecoderTest, ShortTextComesBackPadded) {
    laeufe(idealTelegramm(abSync("6A1B2345", 10, 0, 1, 3, "Test")));
    ASSERT_EQ(gemeldet.size(), 1u);
    EXPECT_EQ(gemeldet[0].iskurztext, -1);
    EXPECT_EQ(gemeldet[0].Text, "Test   ");
    EXPECT_EQ(gemeldet[0].Status, 10);

    const std::string lang = "Einsatz: Brand in der Müllverbrennungsanlage, §12 beachten; Zufahrt über Nordtor. "
                             "ÄÖÜ äöü ß Ende!";
    laeufe(idealTelegramm(abSync("6A1B2345", 10, 0, 1, 3, lang)));
    ASSERT_EQ(gemeldet.size(), 2u);
    EXPECT_EQ(gemeldet[1].Text, test::gepolstert(lang));
}

TEST_F(FmsDecoderTest, TrbosRequiresTki3AndBaustufe0) {
    kette.e.FMSKurztextTRBOS = Wahr;
    laeufe(idealTelegramm(abSync("6A1B2345", 10, 0, 1, 2, "Test")));
    ASSERT_EQ(gemeldet.size(), 1u);
    EXPECT_EQ(gemeldet[0].iskurztext, 0);
    EXPECT_EQ(gemeldet[0].Text, "");
    laeufe(idealTelegramm(abSync("6A1B2345", 10, 0, 1, 3, "Test")));
    ASSERT_EQ(gemeldet.size(), 2u);
    EXPECT_EQ(gemeldet[1].Text, "Test   ");
}

TEST_F(FmsDecoderTest, FollowUpTelegram) {
    const std::string grund = abSync("6A1B2345", 10, 0, 0, 0);
    laeufe(idealTelegramm(grund + FolgeBlock("31200000")));
    laeufe(idealTelegramm(grund + FolgeBlock("3120000A")));
    laeufe(idealTelegramm(grund + FolgeBlock("41A00000")));
    laeufe(idealTelegramm(grund + FolgeBlock("5A100000")));
    ASSERT_EQ(gemeldet.size(), 4u);
    EXPECT_EQ(gemeldet[0].Status, 3);
    EXPECT_EQ(gemeldet[0].folgenr, 12);
    EXPECT_EQ(gemeldet[0].Text, "12");
    EXPECT_EQ(gemeldet[0].isfolgetelegramm, 1);
    EXPECT_EQ(gemeldet[1].Status, 10);
    EXPECT_EQ(gemeldet[1].Text, "3120000A");
    EXPECT_EQ(gemeldet[1].isfolgetelegramm, 2);
    EXPECT_EQ(gemeldet[2].Status, 4);
    EXPECT_EQ(gemeldet[2].Text, "01");
    EXPECT_EQ(gemeldet[3].folgenr, 0);
    EXPECT_EQ(gemeldet[3].Text, "00");
}

TEST_F(FmsDecoderTest, Status10WithoutItsBlocksIsAnOrdinaryTelegram) {
    // A rejected candidate with a long text leaves its bits behind.
    std::string kaputt = abSync("6A1B2345", 10, 0, 1, 3, std::string(99, 'X'));
    kaputt[20] = kaputt[20] == '1' ? '0' : '1';
    laeufe(idealTelegramm(kaputt));
    EXPECT_TRUE(gemeldet.empty());

    laeufe(idealTelegramm(abSync("6A1B2345", 10, 0, 1, 3)));
    laeufe(idealTelegramm(abSync("6A1B2345", 10, 0, 0, 0)));
    ASSERT_EQ(gemeldet.size(), 2u);
    for (const auto& t : gemeldet) {
        EXPECT_EQ(t.Status, 10);
        EXPECT_EQ(t.Text, "");
        EXPECT_EQ(t.iskurztext, 0);
        EXPECT_EQ(t.isfolgetelegramm, 0);
        EXPECT_EQ(t.folgenr, 0);
    }
}

TEST_F(FmsDecoderTest, ShortTextStopsAtTheLastReceivedBlock) {
    // Text blocks without an end marker: the first and one further block received.
    const std::string bits = abSync("6A1B2345", 10, 0, 1, 3, std::string(11, 'a'));
    laeufe(idealTelegramm(bits.substr(0, 8 + 48 + 2 * 48)));
    ASSERT_EQ(gemeldet.size(), 1u);
    EXPECT_EQ(gemeldet[0].Text, "aaaaaaa");
    EXPECT_EQ(gemeldet[0].iskurztext, -1);
}

TEST_F(FmsDecoderTest, OrtLength) {
    const auto l = idealTelegramm(abSync("6A1B2345", 3, 1, 0, 2));
    for (Long laenge : {0, 20, -3, 12, 2}) {
        kette.e.FMSOrtLaenge = laenge;
        laeufe(l);
    }
    ASSERT_EQ(gemeldet.size(), 5u);
    EXPECT_EQ(gemeldet[0].ort, "");
    EXPECT_EQ(gemeldet[1].ort, "6A1B23453102");
    EXPECT_EQ(gemeldet[2].ort, "");
    EXPECT_EQ(gemeldet[3].ort, "6A1B23453102");
    EXPECT_EQ(gemeldet[4].ort, "6A");
}

TEST_F(FmsDecoderTest, StateSurvivesBufferBoundariesPerChannel) {
    const auto a = idealTelegramm(abSync("11111111", 1, 0, 0, 0));
    const auto b = idealTelegramm(abSync("22222222", 2, 0, 0, 0));
    const std::size_t mitte = 60;
    laeufe({a.begin(), a.begin() + mitte}, 0);
    laeufe({b.begin(), b.begin() + mitte + 7}, 1);
    laeufe({a.begin() + mitte, a.end()}, 0);
    laeufe({b.begin() + mitte + 7, b.end()}, 1);
    ASSERT_EQ(gemeldet.size(), 2u);
    EXPECT_EQ(gemeldet[0].Kennung, "11111111");
    EXPECT_EQ(gemeldet[0].Kanal, 0);
    EXPECT_EQ(gemeldet[1].Kennung, "22222222");
    EXPECT_EQ(gemeldet[1].Kanal, 1);
}

TEST_F(FmsDecoderTest, EndlessSignalAndBadChannelAreHarmless) {
    // A valid-looking signal that never ends fills the run list and is sliced at 4000 runs.
    std::vector<Halbwelle> endlos(24, Halbwelle{5, 0});
    for (int i = 0; i < 9000; ++i) endlos.push_back({static_cast<std::int16_t>(i % 3 ? 3 : 5), 0});
    laeufe(endlos);
    // An endless 1200 Hz tone saturates the Vorlauf counter.
    laeufe(std::vector<Halbwelle>(70000, Halbwelle{5, 0}));
    laeufe({Halbwelle{100, 0}});
    laeufe(idealTelegramm(abSync("12345678", 3, 0, 0, 0)), 2);
    laeufe(idealTelegramm(abSync("12345678", 3, 0, 0, 0)), -1);
    laeufe(idealTelegramm(abSync("12345678", 3, 0, 0, 0)));
    ASSERT_EQ(gemeldet.size(), 1u);
    EXPECT_EQ(gemeldet[0].Kennung, "12345678");
}

TEST(FmsBerichtZeitpunkt, ReportedWhenTheNextRunEnds) {
    FmsEmpfaenger kette;
    const auto a = test::ffskAudio(FmsTelegrammBits("12345678", 3, 0, 0, 0, "", Falsch));
    // Telegram then mid-scale: the last run stays open, nothing is reported.
    std::vector<std::uint8_t> eins(a);
    eins.resize(5512, 128);
    kette.zufuehren(test::stereo(eins, {}));
    kette.zufuehren(test::stereo(std::vector<std::uint8_t>(5512, 128), {}));
    EXPECT_TRUE(kette.meldungen.empty());
    std::vector<std::uint8_t> drei(5512, 128);
    for (int i = 100; i < 110; ++i) drei[static_cast<std::size_t>(i)] = 0;
    kette.zufuehren(test::stereo(drei, {}));
    ASSERT_EQ(kette.meldungen.size(), 1u);
    EXPECT_EQ(kette.imPuffer[0], 2);

    // Followed by noise instead: reported in the buffer where the noise begins.
    std::vector<std::uint8_t> rausch(a);
    for (int i = 0; rausch.size() < 5512; ++i) rausch.push_back(i % 2 ? 128 : 100);
    kette.zufuehren(test::stereo(rausch, {}));
    ASSERT_EQ(kette.meldungen.size(), 2u);
    EXPECT_EQ(kette.imPuffer[1], 3);
}

}  // namespace
}  // namespace tonwerk
