#include "tonwerk/core/ratenkonstanten.h"

#include <gtest/gtest.h>

namespace tonwerk {
namespace {

TEST(Ratenkonstanten, ZveiToneLengthsRoundHalfToEven) {
    EXPECT_EQ(berechneRatenkonstanten(11025, 73, 80).ZVEITonMin, 805);
    EXPECT_EQ(berechneRatenkonstanten(11025, 73, 80).ZVEITonMax, 882);
    EXPECT_EQ(berechneRatenkonstanten(22050, 73, 80).ZVEITonMin, 1610);
    EXPECT_EQ(berechneRatenkonstanten(22050, 73, 80).ZVEITonMax, 1764);
    EXPECT_EQ(berechneRatenkonstanten(44100, 73, 80).ZVEITonMin, 3219);
    EXPECT_EQ(berechneRatenkonstanten(44100, 73, 80).ZVEITonMax, 3528);
    EXPECT_EQ(berechneRatenkonstanten(11025, 90, 80).ZVEITonMin, 992);
}

TEST(Ratenkonstanten, HugeToneSettingsSaturate) {
    const auto k = berechneRatenkonstanten(44100, 2147483647, -2147483647 - 1);
    EXPECT_EQ(k.ZVEITonMin, 2147483647);
    EXPECT_EQ(k.ZVEITonMax, -2147483647 - 1);
}

TEST(Ratenkonstanten, BufferSizeAndWindowsPerRate) {
    auto k22 = berechneRatenkonstanten(22050, 73, 80);
    EXPECT_EQ(k22.RecordPufferSize, 8196);
    EXPECT_EQ(k22.FmsBitSchwelle, 15);
    auto k44 = berechneRatenkonstanten(44100, 73, 80);
    EXPECT_EQ(k44.RecordPufferSize, 11025);
    EXPECT_EQ(k44.Tonruf2Max, 833);
    // Any other rate behaves as 11025 Hz.
    EXPECT_EQ(berechneRatenkonstanten(8000, 73, 80).RecordPufferSize, 5512);
}

TEST(Ratenkonstanten, PocsagConstantsForBaudAndRate) {
    Ratenkonstanten k;
    berechnePocKonstanten(k, 44100, 1200);
    EXPECT_EQ(k.PocLaufMin, 28);
    EXPECT_EQ(k.PocLaufMax, 44);
    EXPECT_EQ(k.PocBitRundung, 15);
    EXPECT_EQ(k.PocBitLaenge, 38);
    berechnePocKonstanten(k, 22050, 512);
    EXPECT_EQ(k.PocLaufMin, 32);
    EXPECT_EQ(k.PocBitLaenge, 42);
    // The preamble windows have the same tolerance, relative to a bit, at every rate.
    for (Long baud : {512, 1200}) {
        Ratenkonstanten basis;
        berechnePocKonstanten(basis, 11025, baud);
        for (Long faktor : {2, 4}) {
            berechnePocKonstanten(k, 11025 * faktor, baud);
            EXPECT_EQ(k.PocLaufMin, basis.PocLaufMin * faktor) << baud << " " << faktor;
            EXPECT_EQ(k.PocLaufMax, basis.PocLaufMax * faktor) << baud << " " << faktor;
        }
    }
}

}  // namespace
}  // namespace tonwerk
