#include "rufpilot/anrufe/anrufmonitor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/simulation/simulierte_leitung.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AnrufmonitorTest : public ::testing::Test {
protected:
    AnrufmonitorTest() {
        leitung.netzSpielen(false);
        monitor.CapiStart();
        leitung.gesendetLeeren();
    }

    // Ticks until the queue is empty.
    void abarbeiten() {
        while (leitung.wartend() > 0) monitor.CapiAbfrage();
    }

    SimulierteLeitung leitung;
    std::vector<std::string> meldungen;
    std::vector<std::string> pruefungen;
    std::function<void()> beimPruefen;
    std::int64_t jetzt = 0;
    std::uint16_t zweiteNummer = 0;
    CapiQuelle capi{leitung};
    Anrufmonitor monitor{capi, [this](const std::string& m) { meldungen.push_back(m); },
                         [this](const std::string& anrufer, const std::string& msn) {
                             pruefungen.push_back(anrufer + "|" + msn);
                             if (beimPruefen) beimPruefen();
                         },
                         [this] { return jetzt; }};
};

TEST_F(AnrufmonitorTest, StartRegistersAndListensForEveryCallOnController1) {
    SimulierteLeitung l;
    CapiQuelle q(l);
    Anrufmonitor m(q, [](const std::string&) {}, [](const std::string&, const std::string&) {}, [] { return 0; });
    l.applIdSetzen(5);
    EXPECT_TRUE(m.CapiStart());
    EXPECT_EQ(q.applId(), 5u);
    ASSERT_EQ(l.gesendet().size(), 1u);
    EXPECT_EQ(l.gesendet()[0].bytes, ListenReq(5));
    m.CapiStop();
    EXPECT_EQ(l.freigaben(), 1);
    m.CapiAbfrage();  // released: nothing is fetched
    EXPECT_EQ(l.wartend(), 1u);
}

TEST_F(AnrufmonitorTest, AFailedRegistrationIsReportedAndNothingIsPut) {
    SimulierteLeitung l;
    CapiQuelle q(l);
    std::vector<std::string> m;
    Anrufmonitor mon(q, [&](const std::string& t) { m.push_back(t); }, [](const std::string&, const std::string&) {},
                     [] { return 0; });
    l.applIdSetzen(0);
    EXPECT_FALSE(mon.CapiStart());
    EXPECT_THAT(m, ElementsAre("Capi-Anmeldung fehlgeschlagen"));
    EXPECT_THAT(l.gesendet(), IsEmpty());
}

TEST_F(AnrufmonitorTest, IncomingCallIsLoggedMatchedAndThenIgnored) {
    std::vector<std::string> gesendetBeimPruefen;
    beimPruefen = [&] { gesendetBeimPruefen = leitung.protokoll(); };
    const auto nummer = leitung.connectInd(0x101, "222", std::string_view("\x01\x80" "7111234567", 12));
    monitor.CapiAbfrage();
    EXPECT_THAT(meldungen, ElementsAre("Eingang: 07111234567\t ruft: 222"));
    EXPECT_THAT(pruefungen, ElementsAre("07111234567|222"));
    EXPECT_THAT(gesendetBeimPruefen, IsEmpty());
    ASSERT_EQ(leitung.gesendet().size(), 2u);
    EXPECT_EQ(leitung.gesendet()[0].bytes, AlertReq(1, 0x101));
    EXPECT_EQ(leitung.gesendet()[1].bytes, ConnectResp(1, nummer, 0x101));
}

TEST_F(AnrufmonitorTest, EndOfACallIsLoggedWithItsReasonAndAnswered) {
    const auto n1 = leitung.disconnectInd(0x101, 0x3490);
    const auto n2 = leitung.disconnectInd(0x201, 0x3301);
    abarbeiten();
    EXPECT_THAT(meldungen, ElementsAre("Rufbehandlung: \tAnrufer hat aufgelegt", "Rufbehandlung: \t13057 (Protokollfehler Schicht 1)"));
    EXPECT_THAT(leitung.gesendet().size(), 2u);
    EXPECT_EQ(leitung.gesendet()[0].bytes, DisconnectResp(1, n1, 0x101));
    EXPECT_EQ(leitung.gesendet()[1].bytes, DisconnectResp(1, n2, 0x201));
}

TEST_F(AnrufmonitorTest, OneMessagePerTickAndConfirmationsGoUnanswered) {
    monitor.CapiAbfrage();  // empty queue
    leitung.einreihen({14, 0, 1, 0, 0x05, 0x81, 1, 0, 1, 0, 0, 0, 0, 0});  // LISTEN_CONF
    leitung.einreihen({14, 0, 1, 0, 0x01, 0x81, 0, 0, 1, 1, 0, 0, 0, 0});  // ALERT_CONF
    const auto info = leitung.infoInd(0x101);
    monitor.CapiAbfrage();
    EXPECT_EQ(leitung.wartend(), 2u);
    monitor.CapiAbfrage();
    EXPECT_EQ(leitung.wartend(), 1u);
    EXPECT_THAT(leitung.gesendet(), IsEmpty());
    monitor.CapiAbfrage();
    EXPECT_THAT(leitung.protokoll(), ElementsAre("INFO_RESP 0x0101 #" + std::to_string(info)));
    EXPECT_THAT(meldungen, IsEmpty());
}

TEST_F(AnrufmonitorTest, EveryOtherIndicationIsAnsweredToo) {
    const auto aktiv = leitung.connectActiveInd(0x301);
    const auto facility = leitung.indikation(0x80, 0x301, 15);
    abarbeiten();
    EXPECT_THAT(leitung.protokoll(), ElementsAre("CONNECT_ACTIVE_RESP 0x0301 #" + std::to_string(aktiv),
                                                 "FACILITY_RESP 0x0301 #" + std::to_string(facility)));
}

TEST_F(AnrufmonitorTest, ScrapsAndDriverFailuresAreSaidOnce) {
    leitung.einreihen({5, 0, 1, 0, 2});
    monitor.CapiAbfrage();
    leitung.abholfehlerSetzen(kCapiVerbindungVerloren);
    monitor.CapiAbfrage();
    monitor.CapiAbfrage();
    EXPECT_THAT(meldungen, ElementsAre("Capi-Nachricht verworfen:\t5 Bytes", "Capi-Fehler beim Abholen:\t0x1108 (Verbindung zur CAPI verloren)"));
    EXPECT_THAT(leitung.gesendet(), IsEmpty());
}

TEST_F(AnrufmonitorTest, AFailingMatcherStillLetsTheCallBeAnswered) {
    beimPruefen = [] { throw std::runtime_error("Logs/2026-12-08.txt nicht beschreibbar"); };
    const auto nummer = leitung.connectInd(0x101, "222", "\x21\x20");
    monitor.CapiAbfrage();
    EXPECT_THAT(meldungen, ElementsAre("Eingang: ISDN Hidden\t ruft: 222",
                                       "Fehler bei der Rufbehandlung:\tLogs/2026-12-08.txt nicht beschreibbar"));
    EXPECT_THAT(leitung.protokoll(),
                ElementsAre("ALERT_REQ 0x0101 #0", "CONNECT_RESP 0x0101 #" + std::to_string(nummer)));
}

TEST_F(AnrufmonitorTest, ASecondCallInsideTheFirstOnesWaitIsHandledWholeWithItsOwnValues) {
    const auto n1 = leitung.connectInd(0x101, "222", std::string_view("\x01\x80" "7111", 6));
    int tiefe = 0;
    beimPruefen = [&] {
        if (tiefe++ > 0) return;
        // The first call's wait lets the timer run: the caller hangs up and a second call comes.
        leitung.disconnectInd(0x101, 0x3490);
        zweiteNummer = leitung.connectInd(0x202, "333", std::string_view("\x01\x80" "0892", 6));
        abarbeiten();
    };
    monitor.CapiAbfrage();
    EXPECT_THAT(pruefungen, ElementsAre("07111|222", "0892|333"));
    EXPECT_THAT(meldungen, ElementsAre("Eingang: 07111\t ruft: 222", "Rufbehandlung: \tAnrufer hat aufgelegt",
                                       "Eingang: 0892\t ruft: 333"));
    EXPECT_THAT(leitung.protokoll(),
                ElementsAre("DISCONNECT_RESP 0x0101 #" + std::to_string(n1 + 1), "ALERT_REQ 0x0202 #0",
                            "CONNECT_RESP 0x0202 #" + std::to_string(zweiteNummer), "ALERT_REQ 0x0101 #0",
                            "CONNECT_RESP 0x0101 #" + std::to_string(n1)));
}

}  // namespace
}  // namespace rufpilot
