// The recordings of an independent generator under tests/data: every expected
// POCSAG event exactly once, nothing else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aufnahmen.h"
#include "poc_testsignal.h"

namespace tonwerk {
namespace {

class PocAufnahme : public ::testing::TestWithParam<std::tuple<const char*, Long>> {};

TEST_P(PocAufnahme, EveryMessageExactlyOnce) {
    const auto [name, baud] = GetParam();
    const test::WavAufnahme a = test::aufnahme(name);
    ASSERT_FALSE(a.rahmen.empty());
    const auto erwartet = test::erwarteteEreignisse(name, "POCSAG");
    ASSERT_EQ(erwartet.size(), 8u);

    test::PocEmpfaenger empfaenger(test::einstellungenFuer(a.rate, baud));
    empfaenger.zufuehren(a.rahmen);
    ASSERT_EQ(empfaenger.meldungen.size(), erwartet.size());
    for (std::size_t i = 0; i < erwartet.size(); ++i) {
        const POCType& m = empfaenger.meldungen[i];
        const std::string textBin = erwartet[i].at("TextBin");
        EXPECT_EQ(m.Kanal, 0);
        EXPECT_EQ(m.RIC, erwartet[i].at("RIC").get<Long>());
        EXPECT_EQ(m.Funktion, erwartet[i].at("Funktion").get<Long>());
        EXPECT_EQ(m.TextBin, textBin);
        EXPECT_EQ(m.Text, PocAlphaText(textBin));
    }
}

INSTANTIATE_TEST_SUITE_P(Daten, PocAufnahme,
                         ::testing::Values(std::make_tuple("pocsag512_11025_snr40", 512),
                                           std::make_tuple("pocsag1200_22050_snr40", 1200),
                                           std::make_tuple("pocsag1200_44100_snr30", 1200)));

// Recordings at the other bit rate or of other signals yield nothing at either rate.
TEST(PocAufnahmeFremd, NothingDecoded) {
    for (const char* name : {"pocsag1200_22050_snr40", "pocsag512_11025_snr40", "fms_11025_snr40", "fms_44100_snr25",
                             "zvei_11025_snr30", "zvei_22050_snr40", "tonruf_22050_snr40"}) {
        const test::WavAufnahme a = test::aufnahme(name);
        ASSERT_FALSE(a.rahmen.empty()) << name;
        for (Long baud : {512, 1200}) {
            if (std::string(name).starts_with("pocsag" + std::to_string(baud))) continue;
            test::PocEmpfaenger empfaenger(test::einstellungenFuer(a.rate, baud));
            empfaenger.zufuehren(a.rahmen);
            EXPECT_TRUE(empfaenger.meldungen.empty()) << name << " " << baud;
        }
    }
}

}  // namespace
}  // namespace tonwerk
