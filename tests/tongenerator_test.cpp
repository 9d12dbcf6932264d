#include "tonwerk/transmit/tongenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tonwerk {
namespace {

std::vector<int> alsInts(std::span<const std::uint8_t> p) { return {p.begin(), p.end()}; }

TEST(Tongenerator, AbtastwertUsesTheShiftedPiAndFloors) {
    EXPECT_EQ(Abtastwert(90, 60), 187);
    EXPECT_EQ(Abtastwert(270, 60), 68);
    EXPECT_EQ(Abtastwert(90, 127), 254);
    EXPECT_EQ(Abtastwert(270, 127), 1);
    EXPECT_EQ(Abtastwert(0, 127), 128);
    // sin(3.1416) is just below zero, so half a cycle floors to 127 at any level.
    for (int pegel : {1, 60, 127}) EXPECT_EQ(Abtastwert(180, pegel), 127) << pegel;
    for (int phase = 0; phase < 720; phase += 7) EXPECT_EQ(Abtastwert(phase, 0), 128) << phase;
}

TEST(Tongenerator, StepsRoundToTheTableValues) {
    const std::pair<double, int> tabelle[] = {
        {675, 22},  {825, 27},  {1000, 33}, {1010, 33}, {1060, 35}, {1160, 38}, {1200, 39}, {1240, 40},
        {1270, 41}, {1400, 46}, {1530, 50}, {1670, 55}, {1750, 57}, {1800, 59}, {1830, 60}, {1860, 61},
        {2000, 65}, {2135, 70}, {2200, 72}, {2280, 74}, {2400, 78}, {2600, 85}};
    for (auto [f, schritt] : tabelle) EXPECT_EQ(std::nearbyint(Schrittweite(f)), schritt) << f;
}

TEST(Tongenerator, FfskOneBitIsOneCycleOf1200Hz) {
    Tongenerator g(60);
    g.SchreibeFfskBits("1");
    EXPECT_EQ(alsInts(g.Proben()), (std::vector<int>{128, 165, 186, 181, 152, 112, 79, 68, 83, 118}));
    EXPECT_EQ(g.Phase, 30);
}

TEST(Tongenerator, FfskZeroBitIsOneAndAHalfCyclesOf1800Hz) {
    Tongenerator g(60);
    g.SchreibeFfskBits("0");
    std::vector<int> erwartet;
    for (int phase : {0, 59, 118, 177, 236, 295, 354, 53, 112, 171}) erwartet.push_back(Abtastwert(phase, 60));
    EXPECT_EQ(alsInts(g.Proben()), erwartet);
    EXPECT_EQ(g.Phase, 230);
}

TEST(Tongenerator, FfskCarriesPhaseAndHalfCycleAcrossBits) {
    Tongenerator g(60);
    g.SchreibeFfskBits("10");
    EXPECT_EQ(g.Probenzahl(), 19);
    // The zero bit starts where the one bit ended (phase 30, rising half-cycle next).
    EXPECT_EQ(g.Proben()[10], Abtastwert(30, 60));
    // Each call starts afresh at phase 0.
    Tongenerator h(60);
    h.SchreibeFfskBits("1");
    h.SchreibeFfskBits("1");
    EXPECT_EQ(alsInts(h.Proben().subspan(10)), alsInts(h.Proben().first(10)));
}

TEST(Tongenerator, ZveiToneRunsWholeCyclesAndKeepsPhase) {
    Tongenerator g(60);
    g.SchreibeZveiTon(1060);
    EXPECT_EQ(g.Probenzahl(), 762);
    EXPECT_EQ(g.Phase, 30);
    g.SchreibeZveiTon(1060);
    EXPECT_EQ(g.Proben()[762], Abtastwert(30, 60));
}

TEST(Tongenerator, DauertonStartsAtPhaseZeroAndWraps) {
    Tongenerator g(60);
    g.Phase = 100;
    g.SchreibeDauerton(1750, 20);
    EXPECT_EQ(alsInts(g.Proben()), (std::vector<int>{128, 178, 182, 137, 83, 70, 109, 165, 187, 155, 97, 68, 92,
                                                      149, 186, 170, 115, 71, 79, 131}));
    EXPECT_EQ(g.Phase, 60);
}

TEST(Tongenerator, ZweitonAveragesRoundingHalvesToEven) {
    Tongenerator g(60);
    g.SchreibeZweiton(1060, 1160);
    ASSERT_EQ(g.Probenzahl(), 55125);
    // Samples 3 (185 + 182) and 7 (73 + 68) have odd sums: 183.5 -> 184, 70.5 -> 70.
    EXPECT_EQ(alsInts(g.Proben().first(12)), (std::vector<int>{128, 163, 185, 184, 161, 125, 90, 70, 73, 97, 132, 166}));
    long summe = 0;
    for (auto p : g.Proben()) summe += p;
    EXPECT_EQ(summe, 7029791);
}

TEST(Tongenerator, LevelZeroIsSilenceForEveryGenerator) {
    Tongenerator g(0);
    g.SchreibeFfskBits("1100101");
    g.SchreibeZveiTon(2400);
    g.SchreibeDauerton(2135, 300);
    g.SchreibeZweiton(675, 2600);
    for (auto p : g.Proben()) ASSERT_EQ(p, 128);
}

TEST(Tongenerator, LevelIsClampedToAByte) {
    Tongenerator g(300), h(127);
    g.SchreibeDauerton(1000, 40);
    h.SchreibeDauerton(1000, 40);
    EXPECT_EQ(alsInts(g.Proben()), alsInts(h.Proben()));
    g.setzePegel(-4);
    EXPECT_EQ(g.pegel(), 0);
}

}  // namespace
}  // namespace tonwerk
