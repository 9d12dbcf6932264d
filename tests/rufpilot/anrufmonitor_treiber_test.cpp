// The call monitor driver against a real TCP peer on 127.0.0.1. Time is a
// hand-driven clock; the test waits on what the driver's socket did (poll),
// never on a wall clock.
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <memory>

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_rufnummern.h"
#include "rufpilot/capi/simulierte_leitung.h"
#include "rufpilot/demo/monitor_gegenstelle.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct AnrufmonitorTreiberTest : ::testing::Test {
    std::int64_t jetzt = 0;
    std::vector<std::string> meldungen;
    std::unique_ptr<MonitorGegenstelle> router = std::make_unique<MonitorGegenstelle>();
    AnrufmonitorTreiber treiber{"127.0.0.1", router->port(), [this] { return jetzt; },
                                [this](const std::string& m) { meldungen.push_back(m); }};
    std::uint32_t applId = 0;

    void SetUp() override {
        applId = treiber.registrieren(3072, 2, 7, 2048);
        ASSERT_EQ(applId, 1u);
        router->annehmen();
        verbindungAbwarten();
    }

    // Until the driver's socket has something to tell (connected, data, close).
    void bereit() {
        ASSERT_GE(treiber.socket(), 0);
        pollfd p{treiber.socket(), static_cast<short>(treiber.verbindet() ? POLLOUT : POLLIN), 0};
        ASSERT_EQ(::poll(&p, 1, 10000), 1) << "socket never became ready";
    }
    void verbindungAbwarten() {
        if (treiber.verbindet()) bereit();
        CapiNachricht n;
        EXPECT_EQ(treiber.holen(applId, n), kCapiWarteschlangeLeer);
        ASSERT_TRUE(treiber.verbunden());
    }
    // Writes, then fetches every message the bytes produced.
    std::vector<CapiNachricht> senden(std::string_view bytes) {
        router->schreiben(bytes);
        bereit();
        std::vector<CapiNachricht> alle;
        CapiNachricht n;
        while (treiber.holen(applId, n) == 0) alle.push_back(n);
        return alle;
    }
    struct Eingang {
        std::string anrufer, msn;
        bool operator==(const Eingang&) const = default;
    };
    static Eingang eingang(const CapiNachricht& n) {
        const auto kopf = KopfLesen(n);
        EXPECT_EQ(CapiName(kopf->befehl, kopf->unterbefehl), "CONNECT_IND");
        const Eingangsruf ruf = ConnectIndLesen(n);
        return {AnruferAusNummernbereich(ruf.nummernbereich), MsnAusNummernbereich(ruf.nummernbereich)};
    }
};

TEST_F(AnrufmonitorTreiberTest, RingLinesBecomeCallsHoweverTheyArrive) {
    EXPECT_THAT(meldungen, ElementsAre("Anrufmonitor verbunden:\t127.0.0.1:" + std::to_string(router->port())));
    // One line split across three packets, CR LF.
    EXPECT_THAT(senden("08.12.26 10:00:01;RI"), IsEmpty());
    EXPECT_THAT(senden("NG;0;01711234567;47"), IsEmpty());
    auto n = senden("12;SIP0;\r\n");
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(eingang(n[0]), (Eingang{"01711234567", "4712"}));
    // Two lines in one packet, LF only; a national number without its 0 gets
    // it as from ISDN; a suppressed number reads "Unbekannt".
    n = senden("08.12.26 10:00:02;RING;1;301234;4713;SIP0;\n08.12.26 10:00:03;RING;2;;4714;SIP0;\n");
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(eingang(n[0]), (Eingang{"0301234", "4713"}));
    EXPECT_EQ(eingang(n[1]), (Eingang{"Unbekannt", "4714"}));
    // Each call has its own address on the monitor's controller.
    EXPECT_NE(Le32(n[0], 8), Le32(n[1], 8));
    EXPECT_EQ(Le32(n[0], 8) & 0x7F, AnrufmonitorTreiber::kController);
}

TEST_F(AnrufmonitorTreiberTest, GarbageIsToldAndSkippedAndCallsAroundItStillCome) {
    meldungen.clear();
    const auto n = senden("Hallo\x01Welt\r\n08.12.26 10:00:05;CALL;7;0;4711;0301234;SIP1;\n" +
                          std::string(600, 'x') + "\n08.12.26 10:00:01;RING;0;0221555;4712;SIP0;\n");
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(eingang(n[0]), (Eingang{"0221555", "4712"}));
    EXPECT_THAT(meldungen, ElementsAre("Anrufmonitor-Zeile verworfen:\tHallo?Welt", "Anrufmonitor-Zeile zu lang:\tverworfen"));
    // A flood of garbage is told only up to a bound.
    senden(std::string(100, '\n') + [] {
        std::string s;
        for (int i = 0; i < 50; ++i) s += "Unsinn\n";
        return s;
    }());
    EXPECT_EQ(meldungen.size(), static_cast<std::size_t>(AnrufmonitorTreiber::kUnlesbarMeldungen));
}

TEST_F(AnrufmonitorTreiberTest, AnEndedCallSaysWhetherItWasAnsweredElsewhere) {
    auto n = senden(
        "t;RING;0;0171;4712;SIP0;\nt;RING;1;0172;4713;SIP0;\nt;CONNECT;1;4;0172;\n"
        "t;DISCONNECT;0;0;\nt;DISCONNECT;1;12;\nt;DISCONNECT;9;3;\n");
    ASSERT_EQ(n.size(), 4u);
    const std::uint32_t plci0 = Le32(n[0], 8), plci1 = Le32(n[1], 8);
    const auto ende0 = DisconnectIndLesen(n[2]);
    const auto ende1 = DisconnectIndLesen(n[3]);
    EXPECT_EQ(CapiName(n[2][4], n[2][5]), "DISCONNECT_IND");
    EXPECT_EQ(ende0.plci, plci0);
    EXPECT_EQ(static_cast<std::uint16_t>(ende0.grund), 0x3490);  // the caller hung up
    EXPECT_EQ(ende1.plci, plci1);
    EXPECT_EQ(static_cast<std::uint16_t>(ende1.grund), 0x349A);  // taken at another phone
    // A second DISCONNECT of the same call, or of an unknown one, says nothing.
    EXPECT_THAT(senden("t;DISCONNECT;1;12;\n"), IsEmpty());
}

TEST_F(AnrufmonitorTreiberTest, AnswersStayHereAndACallBackIsRefusedWithAnError) {
    const auto n = senden("t;RING;0;0171;4712;SIP0;\n");
    ASSERT_EQ(n.size(), 1u);
    const std::uint32_t plci = Le32(n[0], 8);
    const auto nummer = Le16(n[0], 6);
    EXPECT_EQ(treiber.senden(applId, AlertReq(1, plci)), 0u);
    EXPECT_EQ(treiber.senden(applId, ConnectResp(1, nummer, plci)), 0u);
    meldungen.clear();
    EXPECT_EQ(treiber.senden(applId, ConnectReq(1, 5, "01711234567", "4712")), 0u);
    EXPECT_THAT(meldungen, ElementsAre(HasSubstr("Kein Rückruf möglich:\t")));
    std::vector<std::string> namen;
    CapiNachricht m;
    while (treiber.holen(applId, m) == 0) namen.push_back(CapiName(m[4], m[5]) + " " + std::to_string(Le16(m, 6)));
    EXPECT_THAT(namen, ElementsAre("ALERT_CONF 0", "CONNECT_CONF 5"));
    EXPECT_EQ(BestaetigungLesen(m).info, 0x2002);
    EXPECT_EQ(treiber.senden(applId + 1, AlertReq(1, plci)), 0x1101u);
}

TEST_F(AnrufmonitorTreiberTest, ALostRouterIsRetriedWithGrowingPausesUntilItIsBack) {
    const std::uint16_t port = router->port();
    meldungen.clear();
    router->trennen();
    bereit();
    CapiNachricht n;
    EXPECT_EQ(treiber.holen(applId, n), kCapiVerbindungVerloren);
    EXPECT_THAT(meldungen, ElementsAre(HasSubstr("Anrufmonitor getrennt:\t127.0.0.1:")));
    router.reset();  // gone: connects are refused

    // No attempt before the pause is over.
    jetzt += 999;
    EXPECT_EQ(treiber.holen(applId, n), kCapiVerbindungVerloren);
    EXPECT_EQ(treiber.socket(), -1);
    // Refused attempts: told once, the pause doubles each time.
    std::vector<std::int64_t> pausen;
    for (int versuch = 0; versuch < 8; ++versuch) {
        jetzt = treiber.naechsterVersuchMs();
        EXPECT_EQ(treiber.holen(applId, n), kCapiVerbindungVerloren);
        if (treiber.verbindet()) {
            bereit();
            EXPECT_EQ(treiber.holen(applId, n), kCapiVerbindungVerloren);
        }
        ASSERT_FALSE(treiber.verbunden());
        pausen.push_back(treiber.naechsterVersuchMs() - jetzt);
    }
    EXPECT_THAT(pausen, ElementsAre(2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000));
    ASSERT_EQ(meldungen.size(), 2u);
    EXPECT_THAT(meldungen[1], HasSubstr("Anrufmonitor nicht erreichbar:\t127.0.0.1:" + std::to_string(port) +
                                        " (Verbindung abgelehnt), neuer Versuch in 2 s"));

    // Back on the same port: the next attempt connects and calls come again.
    router = std::make_unique<MonitorGegenstelle>(port);
    jetzt = treiber.naechsterVersuchMs();
    EXPECT_EQ(treiber.holen(applId, n), kCapiVerbindungVerloren);
    router->annehmen();
    verbindungAbwarten();
    EXPECT_EQ(meldungen.back(), "Anrufmonitor verbunden:\t127.0.0.1:" + std::to_string(port));
    EXPECT_EQ(senden("t;RING;4;0171;4712;SIP0;\n").size(), 1u);
}

TEST_F(AnrufmonitorTreiberTest, ALongSilentFeedIsConnectedAnewWithoutAWord) {
    jetzt += AnrufmonitorTreiber::Zeiten{}.stilleMs - 1;
    CapiNachricht n;
    EXPECT_EQ(treiber.holen(applId, n), kCapiWarteschlangeLeer);
    meldungen.clear();
    jetzt += 1;
    treiber.holen(applId, n);
    // The old connection is closed: the router sees its end.
    char c;
    EXPECT_EQ(::recv(router->fd(), &c, 1, 0), 0);
    router->annehmen();
    verbindungAbwarten();
    EXPECT_EQ(senden("t;RING;4;0171;4712;SIP0;\n").size(), 1u);
    EXPECT_THAT(meldungen, IsEmpty());
    // Silent again, and the router no longer takes connections: that is told.
    jetzt += AnrufmonitorTreiber::Zeiten{}.stilleMs;
    router->lauschenBeenden();
    treiber.holen(applId, n);
    if (treiber.verbindet()) {
        bereit();
        treiber.holen(applId, n);
    }
    EXPECT_THAT(meldungen, ElementsAre(HasSubstr("Anrufmonitor nicht erreichbar:\t")));
}

TEST_F(AnrufmonitorTreiberTest, ReleasingClosesTheConnection) {
    treiber.freigeben(applId);
    EXPECT_EQ(treiber.socket(), -1);
    CapiNachricht n;
    EXPECT_EQ(treiber.holen(applId, n), 0x1101u);
}

TEST(AnrufmonitorTreiberOhneRouter, WithoutAHostThereIsNoDriver) {
    AnrufmonitorTreiber treiber("", 1012, [] { return 0; }, {});
    std::string gesucht;
    EXPECT_FALSE(treiber.vorhanden(gesucht));
    EXPECT_EQ(treiber.registrieren(3072, 2, 7, 2048), 0u);
}

}  // namespace
}  // namespace rufpilot
