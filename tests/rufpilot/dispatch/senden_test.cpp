// A recognised call end to end: keying, the telegram through the control, the
// control centre's answer decoded from the simulated radio, the repeat, the
// call-back, the call row and the log line.
#include <gtest/gtest.h>

#include <algorithm>

#include "rufpilot/dispatch/zeitformat.h"
#include "vermittlung_umgebung.h"

namespace rufpilot {
namespace {

using test::Vermittlungsumgebung;

std::string zeile(const Vermittlungsumgebung& u, const std::string& rest) {
    return uhrzeitText(u.zeit.jetzt()) + '\t' + rest;
}

TEST(Senden, AcknowledgedCallIsCalledBackAndLoggedAsItsRow) {
    Vermittlungsumgebung u;
    u.leitstelleAntwortet(0, "6A1B2345", 300);
    u.v.RufPruefen("01701234567", "222");

    ASSERT_EQ(u.ausgabe.gesendet.size(), 1u) << "no repeat after an acknowledgement";
    EXPECT_TRUE(u.ui.gemeldet("Quittung für 6A1B2345\tvon Leitstelle"));
    EXPECT_EQ(u.ui.listen[Liste::Fms].at(0).substr(9), "6A1B2345\t15\tzum Fzg\t");
    EXPECT_TRUE(u.ui.gemeldet("Wähle 01701234567\t MSN=222"));
    ASSERT_EQ(u.waehler.anrufe.size(), 1u);
    EXPECT_EQ(u.waehler.anrufe[0].nummer, "01701234567");
    EXPECT_EQ(u.waehler.anrufe[0].msn, "222");
    const auto& erster = *std::find_if(u.ui.countdowns.begin(), u.ui.countdowns.end(), [](auto& c) { return c.sichtbar; });
    EXPECT_EQ(erster.text, "Eingang: 10 Sek. bis Rückrufstart an: 01701234567");
    EXPECT_FALSE(u.ui.countdowns.back().sichtbar);

    const std::string erwartet = zeile(u, "01701234567\t222\t6A1B2345\t2\tDTR\tja");
    EXPECT_EQ(u.ui.listen[Liste::Anrufe], std::vector<std::string>{erwartet});
    EXPECT_EQ(u.logZeilen(), std::vector<std::string>{erwartet + "\r"});
    EXPECT_FALSE(u.anschluss.dtrHoch());
    EXPECT_FALSE(u.ui.anzeigen.at({1, 1}));
}

// A stop asked for (SIGTERM) at any step of a dispatch ends it at the next
// step of its wait: no repeat, no call-back, the line at rest, the call
// logged as it stands.
TEST(Senden, AStopEndsTheDispatchAtTheNextStepOfItsWait) {
    struct Fall {
        const char* wann;
        bool quittieren;
        std::int64_t nachMs;  // after the first telegram ended
        const char* zeile;
    };
    for (const Fall& f : {Fall{"in the acknowledgement wait", false, 100, "01701234567\t222\t6A1B2345\t2\tDTR\tnein"},
                          Fall{"in the call-back countdown", true, 3000, "01701234567\t222\t6A1B2345\t2\tDTR\tja"}}) {
        Vermittlungsumgebung u;
        if (f.quittieren) u.leitstelleAntwortet(0, "6A1B2345", 300);
        const auto antwort = u.ausgabe.nachDemSenden;
        std::int64_t ende = -1;
        u.ausgabe.nachDemSenden = [&](std::size_t i, std::int64_t endeMs) {
            if (antwort) antwort(i, endeMs);
            ende = endeMs;
        };
        u.zeit.timer().aktivieren(50, [&] {
            if (ende >= 0 && u.zeit.monotonMs() >= ende + f.nachMs) u.zeit.endeVerlangen();
        });
        u.v.RufPruefen("01701234567", "222");
        EXPECT_EQ(u.ausgabe.gesendet.size(), 1u) << f.wann;
        EXPECT_TRUE(u.waehler.anrufe.empty()) << f.wann;
        EXPECT_LE(u.zeit.monotonMs(), ende + f.nachMs + 100) << f.wann;
        EXPECT_FALSE(u.anschluss.dtrHoch()) << f.wann;
        EXPECT_TRUE(u.ui.gemeldet("Rufbearbeitung abgebrochen:\tProgramm wird beendet")) << f.wann;
        EXPECT_EQ(u.logZeilen(), std::vector<std::string>{zeile(u, f.zeile) + "\r"}) << f.wann;
        EXPECT_FALSE(u.ui.countdowns.back().sichtbar) << f.wann;
    }
}

TEST(Senden, WithoutAnswerTheTelegramGoesTwiceAndTheCallIsNotCalledBack) {
    Vermittlungsumgebung u;
    u.v.RufPruefen("0301234", "111");

    ASSERT_EQ(u.ausgabe.gesendet.size(), 2u);
    EXPECT_EQ(u.ausgabe.gesendet[0].datei, u.ausgabe.gesendet[1].datei);
    // The repeat follows the first window of about one second.
    const auto pause = u.ausgabe.gesendet[1].anfangMs - u.ausgabe.gesendet[0].endeMs;
    EXPECT_GT(pause, 1000);
    EXPECT_LT(pause, 1100);
    int ohneQuittung = 0;
    for (const auto& m : u.ui.meldungen) ohneQuittung += m.rfind("keine Quittung1 von Lst\t", 0) == 0;
    EXPECT_EQ(ohneQuittung, 2);
    EXPECT_TRUE(u.waehler.anrufe.empty());
    const std::string erwartet = zeile(u, "0301234\t111\t6A1B9999\t1\tRTS\tnein");
    EXPECT_EQ(u.ui.listen[Liste::Anrufe], std::vector<std::string>{erwartet});
    EXPECT_EQ(u.logZeilen(), std::vector<std::string>{erwartet + "\r"});
}

TEST(Senden, AnAnswerForAnotherVehicleLeavesTheSecondWindowToRunOut) {
    Vermittlungsumgebung u;
    u.leitstelleAntwortet(0, "6A1B9999", 300);
    const auto ab = u.ui.meldungen.size();
    EXPECT_FALSE(u.v.StatusSenden("6A1B2345", 3, 0, 0, 1));
    const auto m = u.ui.meldungenAb(ab);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[1], "keine Quittung von Lst");
    EXPECT_EQ(m[2].rfind("keine Quittung1 von Lst\t", 0), 0u) << "the repeat found no answer";
    EXPECT_EQ(u.ausgabe.gesendet.size(), 2u);
}

TEST(Senden, TheLineIsKeyedForTheLeadTimeTheTelegramAndBothWaits) {
    Vermittlungsumgebung u;
    u.einstellungen.fmsVorlaufMs = 500;
    std::vector<bool> hochBeimSenden;
    u.ausgabe.nachDemSenden = [&](std::size_t, std::int64_t) { hochBeimSenden.push_back(u.anschluss.dtrHoch()); };
    std::int64_t zuletztHoch = -1;
    u.zeit.timer().aktivieren(10, [&] {
        if (u.anschluss.dtrHoch()) zuletztHoch = u.zeit.monotonMs();
    });
    const auto protokoll = u.anschluss.protokoll().size();
    const auto start = u.zeit.monotonMs();

    u.v.StatusSenden("6A1B2345", 3, 0, 0, 1);

    const std::vector<std::string> geschaltet(u.anschluss.protokoll().begin() + static_cast<std::ptrdiff_t>(protokoll),
                                              u.anschluss.protokoll().end());
    EXPECT_EQ(geschaltet, (std::vector<std::string>{"DTR an", "DTR aus"}));
    ASSERT_EQ(u.ausgabe.gesendet.size(), 2u);
    EXPECT_GE(u.ausgabe.gesendet[0].anfangMs - start, 500);
    EXPECT_LE(u.ausgabe.gesendet[0].anfangMs - start, 540);
    EXPECT_EQ(hochBeimSenden, (std::vector<bool>{true, true}));
    // Still keyed through the last acknowledgement window.
    EXPECT_GT(zuletztHoch, u.ausgabe.gesendet[1].endeMs + 1000);
    EXPECT_FALSE(u.anschluss.dtrHoch());
}

TEST(Senden, AFailedSoundOutputReleasesTheLineAndCountsAsUnacknowledged) {
    Vermittlungsumgebung u;
    u.ausgabe.defekt = true;
    u.v.RufPruefen("01701234567", "222");

    EXPECT_FALSE(u.anschluss.dtrHoch());
    EXPECT_FALSE(u.ui.anzeigen.at({1, 1}));
    bool gemeldet = false;
    for (const auto& m : u.ui.meldungen) gemeldet |= m.rfind("Senden fehlgeschlagen:\tkeine Tonausgabe", 0) == 0;
    EXPECT_TRUE(gemeldet);
    EXPECT_TRUE(u.waehler.anrufe.empty());
    EXPECT_EQ(u.ui.listen[Liste::Anrufe], std::vector<std::string>{zeile(u, "01701234567\t222\t6A1B2345\t2\tDTR\tnein")});
}

TEST(Senden, AnUnwritableLogStillListsTheCall) {
    Vermittlungsumgebung u;
    test::fs::remove_all(u.logs);
    u.v.RufPruefen("0301234", "111");
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].size(), 1u);
    EXPECT_EQ(u.ui.meldungen.back().rfind("Logdatei nicht geschrieben:\t", 0), 0u);
}

TEST(Senden, AFailedCallBackStillListsAndLogsTheAcknowledgedCall) {
    Vermittlungsumgebung u;
    u.waehler.defekt = true;
    u.leitstelleAntwortet(0, "6A1B2345", 300);
    u.v.RufPruefen("01701234567", "222");
    EXPECT_TRUE(u.ui.gemeldet("Rufbearbeitung fehlgeschlagen:\tCAPI nicht bereit"));
    const std::string erwartet = zeile(u, "01701234567\t222\t6A1B2345\t2\tDTR\tja");
    EXPECT_EQ(u.ui.listen[Liste::Anrufe], std::vector<std::string>{erwartet});
    EXPECT_EQ(u.logZeilen(), std::vector<std::string>{erwartet + "\r"});
}

TEST(Senden, ACallHandledInsideAnotherCallsWaitKeepsBothRowsApart) {
    Vermittlungsumgebung u;
    // The second call arrives while the first waits for its acknowledgement;
    // the control centre answers the second call, and the first one's repeat.
    auto& anruf = u.zeit.timer();
    anruf.aktivieren(400, [&] {
        anruf.deaktivieren();
        u.v.RufPruefen("0301234", "111");
    });
    u.leitstelleAntwortet(1, "6A1B9999", 300);
    u.leitstelleAntwortet(2, "6A1B2345", 300);
    u.v.RufPruefen("01701234567", "222");

    ASSERT_EQ(u.ausgabe.gesendet.size(), 3u);
    ASSERT_EQ(u.waehler.anrufe.size(), 2u);
    EXPECT_EQ(u.waehler.anrufe[0].nummer, "0301234");
    EXPECT_EQ(u.waehler.anrufe[0].msn, "111");
    EXPECT_EQ(u.waehler.anrufe[1].nummer, "01701234567");
    EXPECT_EQ(u.waehler.anrufe[1].msn, "222");
    const auto& anrufe = u.ui.listen[Liste::Anrufe];
    ASSERT_EQ(anrufe.size(), 2u);
    EXPECT_EQ(anrufe[0].substr(9), "01701234567\t222\t6A1B2345\t2\tDTR\tja");
    EXPECT_EQ(anrufe[1].substr(9), "0301234\t111\t6A1B9999\t1\tRTS\tja");
    const auto log = u.logZeilen();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], anrufe[1] + "\r");
    EXPECT_EQ(log[1], anrufe[0] + "\r");
    EXPECT_FALSE(u.anschluss.dtrHoch());
    EXPECT_FALSE(u.anschluss.rtsHoch());
}

}  // namespace
}  // namespace rufpilot
