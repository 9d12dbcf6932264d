#include <gtest/gtest.h>

#include "tonwerk/platform/termios_anschluss.h"

#include "leitungsbeobachtung.h"
#include "leitungsprotokoll.h"
#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

using test::Pty;

TEST(Leitungsbeobachter, RecordsEveryChangeOfDtrAndRtsInOrder) {
    Pty pty;
    ASSERT_FALSE(pty.name.empty());
    test::TempVerzeichnis dir;
    const auto protokoll = dir / "leitungen.log";
    ASSERT_EQ(test::unterLeitungsbeobachtung({RUFPILOT_TASTPROBE, pty.name}, protokoll), 0);

    const auto eintraege = test::leitungsprotokollLesen(protokoll);
    // Open (kernel raises both), lines to rest, DTR on, RTS on, DTR off, close.
    EXPECT_EQ(test::leitungsfolge(eintraege), (std::vector<std::string>{"11", "01", "00", "10", "11", "01", "00"}));
    for (std::size_t i = 1; i < eintraege.size(); ++i) {
        EXPECT_EQ(eintraege[i].fd, eintraege[0].fd);
        EXPECT_GE(eintraege[i].zeitUs, eintraege[i - 1].zeitUs);
    }
}

TEST(Leitungsbeobachter, WithoutItAPtyHasNoModemLines) {
    Pty pty;
    ASSERT_FALSE(pty.name.empty());
    tonwerk::TermiosAnschluss anschluss;
    anschluss.geraetSetzen(1, pty.name);
    EXPECT_FALSE(anschluss.oeffnen(1));
}

TEST(Leitungsprotokoll, SkipsLinesThatDoNotParse) {
    test::TempVerzeichnis dir;
    test::bytesSchreiben(dir / "p.log", "12 fd=3 dtr=1 rts=0\nunsinn\n13 fd=3 dtr=2 rts=0\n14 fd=3 dtr=0 rts=1");
    EXPECT_EQ(test::leitungsprotokollLesen(dir / "p.log"),
              (std::vector<test::Leitungszustand>{{12, 3, true, false}, {14, 3, false, true}}));
}

}  // namespace
}  // namespace rufpilot
