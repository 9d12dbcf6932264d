#include "rufpilot/simulation/simulierte_zeit.h"

#include <gtest/gtest.h>

#include <vector>

namespace rufpilot {
namespace {

TEST(SimulierteZeit, TimersTickAtTheirIntervalsInOrderOfDueTime) {
    SimulierteZeit zeit;
    std::vector<std::string> ticks;
    auto& schnell = zeit.timer();
    auto& langsam = zeit.timer();
    schnell.aktivieren(60, [&] { ticks.push_back("60@" + std::to_string(zeit.monotonMs())); });
    langsam.aktivieren(100, [&] { ticks.push_back("100@" + std::to_string(zeit.monotonMs())); });
    zeit.laufen(200);
    EXPECT_EQ(ticks, (std::vector<std::string>{"60@60", "100@100", "60@120", "60@180", "100@200"}));
}

TEST(SimulierteZeit, ALateLoopLosesMissedTicksAndBlockingRunsNoTimer) {
    SimulierteZeit zeit;
    int ticks = 0;
    zeit.timer().aktivieren(60, [&] { ++ticks; });
    zeit.vorruecken(1000);  // blocked in playback
    EXPECT_EQ(ticks, 0);
    zeit.ereignisseVerarbeiten();
    zeit.ereignisseVerarbeiten();
    EXPECT_EQ(ticks, 1);
    zeit.schlafen(59);
    zeit.ereignisseVerarbeiten();
    EXPECT_EQ(ticks, 1);
    zeit.schlafen(1);
    zeit.ereignisseVerarbeiten();
    EXPECT_EQ(ticks, 2);
}

TEST(SimulierteZeit, ATickThatWaitsSeesFurtherTicksOfTheSameTimerNested) {
    SimulierteZeit zeit;
    int tiefe = 0, tiefste = 0, ticks = 0;
    zeit.timer().aktivieren(1000, [&] {
        ++ticks;
        ++tiefe;
        tiefste = std::max(tiefste, tiefe);
        if (ticks == 1)
            for (int i = 0; i < 50; ++i) {  // a 1.5 s wait inside the first tick
                zeit.schlafen(30);
                zeit.ereignisseVerarbeiten();
            }
        --tiefe;
    });
    zeit.laufen(1000);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(tiefste, 2);
    EXPECT_EQ(zeit.monotonMs(), 2500);
}

TEST(SimulierteZeit, WallClockCrossesMidnightAndMonthEnds) {
    SimulierteZeit zeit({2026, 12, 31, 23, 59, 59, 500});
    zeit.vorruecken(700);
    const Ortszeit t = zeit.jetzt();
    EXPECT_EQ(t.jahr, 2027);
    EXPECT_EQ(t.monat, 1);
    EXPECT_EQ(t.tag, 1);
    EXPECT_EQ(t.stunde, 0);
    EXPECT_EQ(t.sekunde, 0);
    EXPECT_EQ(t.millisekunde, 200);
    EXPECT_EQ(zeit.monotonMs(), 700);
}

TEST(SimulierteZeit, ObserversSeeEveryMoveOfTheClock) {
    SimulierteZeit zeit;
    std::vector<std::int64_t> gesehen;
    zeit.beimVorruecken([&](std::int64_t t) { gesehen.push_back(t); });
    zeit.schlafen(30);
    zeit.vorruecken(0);
    zeit.vorruecken(100);
    EXPECT_EQ(gesehen, (std::vector<std::int64_t>{30, 130}));
}

}  // namespace
}  // namespace rufpilot
