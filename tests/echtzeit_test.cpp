#include "tonwerk/platform/echtzeit.h"

#include <gtest/gtest.h>

namespace tonwerk {
namespace {

TEST(SchleifenZeitgeber, TicksWhenDueAndDropsMissedTicks) {
    SchleifenZeitgeber t;
    int ticks = 0;
    EXPECT_EQ(t.faellig(), SchleifenZeitgeber::Uhrzeit::max());
    t.aktivieren(60, [&] { ++ticks; });
    const auto erster = t.faellig();
    t.pruefen(erster - std::chrono::milliseconds(1));
    EXPECT_EQ(ticks, 0);
    t.pruefen(erster);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(t.faellig(), erster + std::chrono::milliseconds(60));

    // A loop that comes a second late ticks once and goes on from now.
    const auto spaet = erster + std::chrono::seconds(1);
    t.pruefen(spaet);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(t.faellig(), spaet + std::chrono::milliseconds(60));

    t.deaktivieren();
    t.pruefen(spaet + std::chrono::seconds(5));
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(t.faellig(), SchleifenZeitgeber::Uhrzeit::max());
}

}  // namespace
}  // namespace tonwerk
