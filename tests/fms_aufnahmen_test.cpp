// The FMS recordings of an independent generator: every expected telegram exactly
// once and nothing else.
#include <gtest/gtest.h>

#include "aufnahmen.h"
#include "fms_hilfen.h"

namespace tonwerk {
namespace {

class FmsAufnahmen : public ::testing::TestWithParam<const char*> {};

TEST_P(FmsAufnahmen, EveryTelegramExactlyOnce) {
    const test::WavAufnahme a = test::aufnahme(GetParam());
    test::FmsEmpfaenger kette(a.rate);
    kette.zufuehren(a.rahmen);
    kette.abschliessen();

    std::size_t n = 0;
    for (const auto& ev : test::erwarteteEreignisse(GetParam(), "FMS")) {
        ASSERT_LT(n, kette.meldungen.size()) << "missing " << ev.dump();
        const FmsTlgType& t = kette.meldungen[n++];
        EXPECT_EQ(t.Kanal, ev["Kanal"].get<int>());
        EXPECT_EQ(t.Kennung, ev["Kennung"].get<std::string>());
        EXPECT_EQ(t.bos, ev["bos"].get<int>());
        EXPECT_EQ(t.land, ev["land"].get<int>());
        EXPECT_EQ(t.ort, ev["ort"].get<std::string>());
        EXPECT_EQ(t.fz, ev["fz"].get<std::string>());
        EXPECT_EQ(t.Richtung, ev["Richtung"].get<int>());
        EXPECT_EQ(t.Status, ev["Status"].get<int>());
        EXPECT_EQ(t.tki, ev["tki"].get<int>());
        EXPECT_EQ(t.Baustufe, ev["Baustufe"].get<int>());
        EXPECT_EQ(t.Text, ev["Text"].get<std::string>());
        EXPECT_EQ(t.folgenr, ev["folgenr"].get<int>());
        EXPECT_EQ(t.iskurztext, ev["iskurztext"].get<int>());
        EXPECT_EQ(t.isfolgetelegramm, ev["isfolgetelegramm"].get<int>());
    }
    EXPECT_EQ(kette.meldungen.size(), n);
    EXPECT_EQ(n, 8u);
}

INSTANTIATE_TEST_SUITE_P(Dateien, FmsAufnahmen, ::testing::Values("fms_11025_snr40", "fms_44100_snr25"));

}  // namespace
}  // namespace tonwerk
