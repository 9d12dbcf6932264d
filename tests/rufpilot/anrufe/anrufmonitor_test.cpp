// The call monitor with the dispatch core on simulated time, calls coming in
// on the simulated ISDN line: calls that arrive while a dispatch waits for
// its acknowledgement wait their turn in arrival order, and each call's
// acknowledgement counts for it; a call whose turn comes too late is logged
// as missed.
#include "rufpilot/anrufe/anrufmonitor.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/simulation/simulierte_leitung.h"
#include "vermittlung_umgebung.h"

namespace rufpilot {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::StartsWith;

struct Leitungsumgebung : test::Vermittlungsumgebung {
    SimulierteLeitung leitung;
    CapiQuelle capi{leitung};
    Anrufmonitor monitor{capi, [this](const std::string& m) { v.MeldungSchreiben(m); },
                         [this](const std::string& anrufer, const std::string& msn) { v.RufPruefen(anrufer, msn); },
                         [this] { return zeit.monotonMs(); }};

    Leitungsumgebung() {
        nummern.push_back({"6A1B7777", "0221556", "DTR"});
        monitor.CapiStart();
        zeit.timer().aktivieren(1000, [this] { monitor.CapiAbfrage(); });
    }
    void anruf(const std::string& nummer, const std::string& msn) {
        plci_ += 0x100;
        leitung.connectInd(plci_, msn, std::string("\x01\x80", 2) + nummer);
    }

private:
    std::uint32_t plci_ = 0x01;
};

// Three known callers within two seconds, each acknowledged half a second
// after its telegram: three "ja" rows, no repeat, each call-back ten
// seconds after its own acknowledgement, in arrival order.
TEST(AnrufmonitorAbfolge, CallsDuringADispatchWaitTheirTurnAndKeepTheirAcknowledgement) {
    Leitungsumgebung u;
    u.leitstelleAntwortet(0, "6A1B2345", 500);
    u.leitstelleAntwortet(1, "6A1B9999", 500);
    u.leitstelleAntwortet(2, "6A1B7777", 500);
    u.zeit.laufen(1500);  // LISTEN_CONF
    u.anruf("01701234567", "111");
    u.anruf("0301234", "222");
    u.anruf("0221556", "333");
    u.zeit.laufen(80000);

    ASSERT_EQ(u.ausgabe.gesendet.size(), 3u) << "no repeat";
    EXPECT_THAT(u.ui.meldungen, Not(Contains("keine Quittung1 von Lst\t")));
    ASSERT_EQ(u.ui.listen[Liste::Anrufe].size(), 3u);
    for (const auto& zeile : u.ui.listen[Liste::Anrufe]) EXPECT_TRUE(zeile.ends_with("\tja")) << zeile;
    ASSERT_EQ(u.waehler.anrufe.size(), 3u);
    const char* nummern[] = {"01701234567", "0301234", "0221556"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(u.waehler.anrufe[i].nummer, nummern[i]);
        // The acknowledgement is decoded within about 200 ms of its end on
        // air; the countdown of ten seconds adds one 40 ms step.
        const std::int64_t nachQuittung = u.waehler.anrufe[i].ms - (u.ausgabe.gesendet[i].endeMs + 500);
        EXPECT_GE(nachQuittung, 10000) << i;
        EXPECT_LE(nachQuittung, 10400) << i;
    }
    // Each telegram waited for the dispatch before it.
    EXPECT_GT(u.ausgabe.gesendet[1].anfangMs, u.waehler.anrufe[0].ms);
    EXPECT_GT(u.ausgabe.gesendet[2].anfangMs, u.waehler.anrufe[1].ms);
    // Every call was let ring on; the waiting ones at once, not after the dispatch before them.
    const auto p = u.leitung.protokoll();
    EXPECT_EQ(std::count_if(p.begin(), p.end(), [](const std::string& z) { return z.starts_with("CONNECT_RESP"); }),
              3);
}

// Known callers one a second, each dispatch some 11 s long: the queue falls
// behind. A call whose turn comes more than a minute after it was recorded
// is logged as missed (caller, MSN, how long it waited) instead of sending
// old news; skipping it takes no time, so the next call, a second younger,
// may still be in time. Every call was let ring on at once.
TEST(AnrufmonitorAbfolge, ACallWaitingLongerThanTheBoundIsLoggedAsMissed) {
    Leitungsumgebung u;
    struct Anrufer {
        const char* nummer;
        const char* msn;
        const char* kennung;
    };
    const Anrufer anrufer[] = {{"01701234567", "111", "6A1B2345"}, {"0301234", "222", "6A1B9999"},
                               {"0221556", "333", "6A1B7777"}};
    constexpr std::size_t kAnrufe = 9;
    // Call 6 waits 61 s, call 7 then 59 s, call 8 70 s.
    const std::vector<std::size_t> gesendet = {0, 1, 2, 3, 4, 5, 7};
    for (std::size_t i = 0; i < gesendet.size(); ++i)
        u.leitstelleAntwortet(i, anrufer[gesendet[i] % 3].kennung, 500);
    u.zeit.laufen(1500);  // LISTEN_CONF
    for (std::size_t i = 0; i < kAnrufe; ++i) u.anruf(anrufer[i % 3].nummer, anrufer[i % 3].msn);
    const std::size_t vorher = u.ui.meldungen.size();
    u.zeit.laufen(200000);

    std::vector<std::string> verpasst;
    for (const std::string& m : u.ui.meldungenAb(vorher))
        if (m.starts_with("Anruf verpasst: ")) verpasst.push_back(m);
    EXPECT_THAT(verpasst, ElementsAre("Anruf verpasst: 01701234567 an 111, wartete 61 s",
                                      "Anruf verpasst: 0221556 an 333, wartete 70 s"));
    EXPECT_THAT(u.ui.meldungen, Not(Contains("keine Quittung von Lst")));
    ASSERT_EQ(u.ausgabe.gesendet.size(), gesendet.size()) << "no repeat";
    ASSERT_EQ(u.waehler.anrufe.size(), gesendet.size());
    for (std::size_t i = 0; i < gesendet.size(); ++i)
        EXPECT_EQ(u.waehler.anrufe[i].nummer, anrufer[gesendet[i] % 3].nummer) << i;
    ASSERT_EQ(u.ui.listen[Liste::Anrufe].size(), gesendet.size());
    for (const auto& zeile : u.ui.listen[Liste::Anrufe]) EXPECT_TRUE(zeile.ends_with("\tja")) << zeile;
    EXPECT_EQ(u.monitor.wartendeAnrufe(), 0u);
    const auto p = u.leitung.protokoll();
    EXPECT_EQ(std::count_if(p.begin(), p.end(), [](const std::string& z) { return z.starts_with("CONNECT_RESP"); }),
              static_cast<std::ptrdiff_t>(kAnrufe));
}

// The bound can be set: with the ring time of 20 s as bound, the third of
// three quick known callers (the first test's scenario) would be missed.
TEST(AnrufmonitorAbfolge, TheBoundIsSettable) {
    Leitungsumgebung u;
    u.monitor.veraltetNachSetzen(Anrufmonitor::kKlingeldauerMs);
    u.leitstelleAntwortet(0, "6A1B2345", 500);
    u.leitstelleAntwortet(1, "6A1B9999", 500);
    u.zeit.laufen(1500);
    u.anruf("01701234567", "111");
    u.anruf("0301234", "222");
    u.anruf("0221556", "333");
    u.zeit.laufen(80000);
    EXPECT_EQ(u.ausgabe.gesendet.size(), 2u);
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].size(), 2u);
    EXPECT_THAT(u.ui.meldungen, Contains(StartsWith("Anruf verpasst: 0221556 an 333, wartete 2")));
}

}  // namespace
}  // namespace rufpilot
