#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rufpilot/anrufe/anrufmonitor.h"
#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/simulation/simulierte_leitung.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RueckrufTest : public ::testing::Test {
protected:
    RueckrufTest() {
        monitor.CapiStart();
        monitor.CapiAbfrage();  // LISTEN_CONF
        leitung.gesendetLeeren();
    }

    void tickUm(std::int64_t ms) {
        jetzt = ms;
        monitor.CapiAbfrage();
    }

    SimulierteLeitung leitung;
    std::vector<std::string> meldungen;
    std::int64_t jetzt = 0;
    CapiQuelle capi{leitung};
    Anrufmonitor monitor{capi, [this](const std::string& m) { meldungen.push_back(m); },
                         [](const std::string&, const std::string&) {}, [this] { return jetzt; }};
};

TEST_F(RueckrufTest, ARingingCallBackIsClearedOnItsPlciWhenItsRingTimeIsOver) {
    monitor.waehlen("01711234567", "222");
    EXPECT_EQ(capi.nachrichtenzaehler(), 1u);
    ASSERT_EQ(leitung.gesendet().size(), 1u);
    EXPECT_EQ(leitung.gesendet()[0].bytes, ConnectReq(1, 1, "01711234567", "222"));
    tickUm(1000);  // CONNECT_CONF assigns PLCI 0x8101
    tickUm(19999);
    EXPECT_EQ(leitung.gesendet().size(), 1u);
    tickUm(20000);
    ASSERT_EQ(leitung.gesendet().size(), 2u);
    EXPECT_EQ(leitung.gesendet()[1].bytes, DisconnectReq(1, 1, 0x8101));
    tickUm(21000);  // DISCONNECT_CONF
    tickUm(22000);  // DISCONNECT_IND
    EXPECT_THAT(meldungen, ElementsAre("Rufbehandlung: \t13312 (ohne Ursache)"));
    EXPECT_EQ(monitor.offeneRueckrufe(), 0u);
    tickUm(60000);
    EXPECT_THAT(leitung.protokoll(), ElementsAre("CONNECT_REQ 0x0001 #1", "DISCONNECT_REQ 0x8101 #1",
                                                 "DISCONNECT_RESP 0x8101 #" + std::to_string(0x100)));
}

TEST_F(RueckrufTest, AnAnsweredCallBackIsClearedAtOnceAndOnlyOnce) {
    monitor.klingeldauerSetzen(5000);
    monitor.waehlen("0892", "333");
    tickUm(1000);
    const auto aktiv = leitung.connectActiveInd(0x8101);
    leitung.netzSpielen(false);  // the clearing stays under way
    tickUm(2000);
    EXPECT_THAT(leitung.protokoll(), ElementsAre("CONNECT_REQ 0x0001 #1", "CONNECT_ACTIVE_RESP 0x8101 #" + std::to_string(aktiv),
                                                 "DISCONNECT_REQ 0x8101 #1"));
    tickUm(3000);
    tickUm(9000);
    EXPECT_EQ(leitung.gesendet().size(), 3u);
    EXPECT_EQ(monitor.offeneRueckrufe(), 1u);
}

TEST_F(RueckrufTest, TheConfirmationWithTheRequestsNumberGivesThePlciEvenWhenLate) {
    leitung.netzSpielen(false);
    monitor.waehlen("0892", "333");
    monitor.waehlen("0711", "444");
    tickUm(30000);
    leitung.connectConf(7, 0x8701, 0);  // someone else's request
    leitung.connectConf(2, 0x8201, 0);
    leitung.connectConf(1, 0x8101, 0);
    for (int i = 0; i < 4; ++i) tickUm(30000);
    EXPECT_THAT(leitung.protokoll(), ElementsAre("CONNECT_REQ 0x0001 #1", "CONNECT_REQ 0x0001 #2",
                                                 "DISCONNECT_REQ 0x8201 #2", "DISCONNECT_REQ 0x8101 #1"));
}

// A driver that never confirms the call-back: after its ring time it is to
// be cleared as soon as a confirmation names its PLCI, and that is said;
// after twice the ring time the monitor no longer counts it as open.
TEST_F(RueckrufTest, ACallBackThatIsNeverConfirmedIsGivenUpAndClearedOnALateConfirmation) {
    leitung.netzSpielen(false);
    monitor.waehlen("0892", "333");
    tickUm(19999);
    EXPECT_THAT(meldungen, IsEmpty());
    tickUm(20000);
    EXPECT_THAT(meldungen, ElementsAre("Rückruf unbestätigt:\tAbbau, sobald die CAPI ihn bestätigt"));
    EXPECT_EQ(monitor.offeneRueckrufe(), 1u);
    tickUm(40000);
    EXPECT_EQ(meldungen.back(), "Rückruf ohne Ende vergessen:\t0892");
    EXPECT_EQ(monitor.offeneRueckrufe(), 0u);
    leitung.connectConf(1, 0x8101, 0);
    tickUm(41000);
    EXPECT_THAT(leitung.protokoll(), ElementsAre("CONNECT_REQ 0x0001 #1", "DISCONNECT_REQ 0x8101 #1"));
    EXPECT_EQ(meldungen.size(), 2u);
}

TEST_F(RueckrufTest, ARefusedCallBackIsReportedAndLeavesNothingToClear) {
    leitung.waehlInfoSetzen(0x2003);
    monitor.waehlen("0892", "333");
    tickUm(1000);
    tickUm(60000);
    EXPECT_THAT(meldungen, ElementsAre("Rückruf abgewiesen:\t0x2003 (keine PLCI frei)"));
    EXPECT_THAT(leitung.protokoll(), ElementsAre("CONNECT_REQ 0x0001 #1"));
    EXPECT_EQ(monitor.offeneRueckrufe(), 0u);

    // An informative Info still means the call is ringing.
    leitung.waehlInfoSetzen(0x0001);
    leitung.netzSpielen(false);
    monitor.waehlen("0892", "333");
    leitung.connectConf(2, 0x8101, 0x0001);
    tickUm(60000);
    tickUm(80000);
    EXPECT_EQ(leitung.protokoll().back(), "DISCONNECT_REQ 0x8101 #2");
}

TEST_F(RueckrufTest, ACallBackThatCannotBePutIsReported) {
    monitor.CapiStop();
    monitor.waehlen("0892", "333");
    EXPECT_THAT(meldungen, ElementsAre("Rückruf abgewiesen:\t0x1101 (ungültige Anwendungsnummer)"));
    EXPECT_THAT(leitung.gesendet(), IsEmpty());
    EXPECT_EQ(monitor.offeneRueckrufe(), 0u);
}

}  // namespace
}  // namespace rufpilot
