// The call monitor with the dispatch core on simulated time, calls coming in
// on the simulated ISDN line: calls that arrive while a dispatch waits for
// its acknowledgement wait their turn in arrival order, and each call's
// acknowledgement counts for it.
#include "rufpilot/anrufe/anrufmonitor.h"

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

}  // namespace
}  // namespace rufpilot
