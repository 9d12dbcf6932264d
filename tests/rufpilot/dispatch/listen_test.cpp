// The lists: limits of the message and FMS lists, row layouts, level labels.
#include <gtest/gtest.h>

#include "rufpilot/dispatch/zeitformat.h"
#include "vermittlung_umgebung.h"

namespace rufpilot {
namespace {

using test::Vermittlungsumgebung;

// A full list keeps its newest rows: each new one pushes the oldest out.
TEST(Listen, TheMessageListDropsItsOldestRowAtTwoHundredRows) {
    Vermittlungsumgebung u;
    for (int i = 0; u.v.listen().zeilen(Liste::Meldungen) < 200; ++i) u.v.MeldungSchreiben("m" + std::to_string(i));
    EXPECT_EQ(u.ui.listen[Liste::Meldungen].size(), 200u);
    EXPECT_EQ(u.ui.entfernt[Liste::Meldungen], 0);
    const std::string bleibtAlsAelteste = u.ui.listen[Liste::Meldungen][197];
    u.v.MeldungSchreiben("neu\tzusatz");
    u.v.MeldungSchreiben("neuer");
    EXPECT_EQ(u.ui.geleert[Liste::Meldungen], 0);
    EXPECT_EQ(u.ui.entfernt[Liste::Meldungen], 2);
    const auto& l = u.ui.listen[Liste::Meldungen];
    ASSERT_EQ(l.size(), 200u);
    EXPECT_EQ(l[0], "10:00:00\tneuer");
    EXPECT_EQ(l[1], "10:00:00\tneu\tzusatz");
    EXPECT_EQ(l.back(), bleibtAlsAelteste);  // the two oldest went
    EXPECT_EQ(u.v.listen().zeilen(Liste::Meldungen), 200);
}

TEST(Listen, TheFmsListDropsItsOldestRowAtThreeHundredRows) {
    Vermittlungsumgebung u;
    tonwerk::FmsTlgType r;
    r.Kennung = "6A1B2345";
    r.Status = 3;
    for (int i = 0; i < 300; ++i) u.v.FMSDecodierung(r);
    EXPECT_EQ(u.ui.listen[Liste::Fms].size(), 300u);
    r.Richtung = 1;
    r.Status = 10;
    r.Text = "Lage";
    u.v.FMSDecodierung(r);
    EXPECT_EQ(u.ui.entfernt[Liste::Fms], 1);
    ASSERT_EQ(u.ui.listen[Liste::Fms].size(), 300u);
    EXPECT_EQ(u.ui.listen[Liste::Fms].front(), "10:00:00\t6A1B2345\t10\tzum Fzg\tLage");
}

TEST(Listen, LoadedCallRowsStandInOrderAndHaveNoLimit) {
    Vermittlungsumgebung u;
    for (int i = 0; i < 400; ++i) u.v.anrufZeileLaden("zeile " + std::to_string(i));
    EXPECT_EQ(u.ui.geleert[Liste::Anrufe], 0);
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].front(), "zeile 399");
    EXPECT_EQ(u.v.listen().zeilen(Liste::Anrufe), 400);
}

TEST(Listen, LevelLabelsArePercentCutOff) {
    Vermittlungsumgebung u;
    tonwerk::SignalstaerkeType w;
    w.links = 128;
    w.rechts = 64;
    u.v.Signalstaerke(w);
    EXPECT_EQ(u.ui.pegelL, "100 %");
    EXPECT_EQ(u.ui.pegelR, "50 %");
    w.links = 1;
    u.v.Signalstaerke(w);
    EXPECT_EQ(u.ui.pegelL, "0 %");
}

TEST(Zeitformat, TimeOfDayAndSecondsSinceMidnight) {
    EXPECT_EQ(uhrzeitText({2026, 12, 8, 9, 5, 3, 999}), "09:05:03");
    EXPECT_EQ(sekundenSeitMitternacht({2026, 12, 8, 10, 0, 0, 500}), "36000,5");
    EXPECT_EQ(sekundenSeitMitternacht({2026, 12, 8, 10, 0, 1, 49}), "36001,04");
    EXPECT_EQ(sekundenSeitMitternacht({2026, 12, 8, 10, 0, 2, 9}), "36002");
    EXPECT_EQ(sekundenSeitMitternacht({2026, 12, 8, 23, 59, 59, 999}), "86399,99");
}

}  // namespace
}  // namespace rufpilot
