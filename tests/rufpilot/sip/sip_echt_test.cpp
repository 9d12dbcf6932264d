// The SIP source with the real sofia-sip stack against SIPp on 127.0.0.1:
// registration, incoming calls through the unchanged call monitor (and the
// whole dispatch), the caller hanging up, and the call-back ringing or being
// answered. Every wait pumps the stack until what SIPp or the stack did is
// seen; the bounds only end a failing test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <functional>
#include <memory>
#include <thread>

#include "rufpilot/anrufe/anrufmonitor.h"
#include "rufpilot/sip/sip_treiber.h"
#include "sipp_lauf.h"
#include "vermittlung_umgebung.h"

namespace rufpilot {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using test::SippLauf;

constexpr auto kGrenze = std::chrono::seconds(30);

// Repeats `schritt` until `fertig` holds.
bool bis(const std::function<bool()>& fertig, const std::function<void()>& schritt) {
    const auto ende = std::chrono::steady_clock::now() + kGrenze;
    while (!fertig()) {
        if (std::chrono::steady_clock::now() > ende) return false;
        schritt();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class SipTest : public ::testing::Test {
protected:
    SipOptionen optionen(bool anmelden = true, std::int64_t wiederholungMs = 30000) {
        SipOptionen o;
        o.lokal = "sip:127.0.0.1:0";
        o.anmelden = anmelden;
        o.wiederholungMs = wiederholungMs;
        o.meldung = [this](const std::string& m) { meldungen.push_back(m); };
        return o;
    }
    bool gemeldet(const std::string& zeile) const {
        return std::find(meldungen.begin(), meldungen.end(), zeile) != meldungen.end();
    }

    std::vector<std::string> meldungen;
};

TEST_F(SipTest, RegistersWithDigestAuthenticationAndUnregistersOnRelease) {
    SippLauf registrar("registrar_401.xml", {});
    SipTreiber t({registrar.adresse(), "620", "geheim"}, optionen());
    std::string gesucht;
    ASSERT_TRUE(t.vorhanden(gesucht));
    EXPECT_EQ(gesucht, "SIP-Konto 620@" + registrar.adresse());
    SipTreiber ohneKonto({"", "620", "geheim"}, optionen());
    EXPECT_FALSE(ohneKonto.vorhanden(gesucht));
    EXPECT_EQ(gesucht, "SIP-Konto nicht eingerichtet");
    ASSERT_TRUE(t.starten());
    EXPECT_FALSE(t.verbunden());  // not registered yet: the Capi lamp stays red
    ASSERT_TRUE(bis([&] { return t.angemeldet(); }, [&] { t.pumpen(); })) << registrar.protokoll();
    EXPECT_TRUE(t.verbunden());
    EXPECT_THAT(meldungen, ElementsAre("SIP angemeldet:\t620@" + registrar.adresse()));
    t.stoppen();
    EXPECT_EQ(registrar.warten({}), 0) << registrar.protokoll();
    EXPECT_THAT(registrar.protokoll(), HasSubstr("Authorization: Digest username=\"620\""));
}

TEST_F(SipTest, AWrongPasswordIsReportedOnceInsteadOfRetriedAtOnce) {
    SippLauf registrar("registrar_401.xml", {});
    SipTreiber t({registrar.adresse(), "620", "falsch"}, optionen());
    ASSERT_TRUE(t.starten());
    EXPECT_EQ(registrar.warten([&] { t.pumpen(); }), 0) << registrar.protokoll();
    ASSERT_TRUE(bis([&] { return !meldungen.empty(); }, [&] { t.pumpen(); }));
    EXPECT_THAT(meldungen, ElementsAre("SIP-Anmeldung fehlgeschlagen:\t403 Forbidden"));
    EXPECT_FALSE(t.angemeldet());
    EXPECT_FALSE(t.verbunden());
}

TEST_F(SipTest, AFailedRefreshIsFollowedByANewRegistration) {
    SippLauf registrar("registrar_erneuern.xml", {"-m", "2"});
    SipTreiber t({registrar.adresse(), "620", "geheim"}, optionen(true, 200));
    ASSERT_TRUE(t.starten());
    const std::string angemeldet = "SIP angemeldet:\t620@" + registrar.adresse();
    ASSERT_TRUE(bis([&] { return meldungen.size() >= 3; }, [&] { t.pumpen(); })) << registrar.protokoll();
    EXPECT_EQ(meldungen[0], angemeldet);
    EXPECT_EQ(meldungen[1], "SIP-Anmeldung fehlgeschlagen:\t503 Service Unavailable");
    EXPECT_EQ(meldungen[2], angemeldet);
    EXPECT_TRUE(t.angemeldet());
}

// The call monitor on a SIP driver that does not register (SIPp calls it
// directly); call-backs go to `gegenstelle`.
struct Monitorumgebung {
    Monitorumgebung(const std::string& gegenstelle, SipOptionen o) : t({gegenstelle, "620", "geheim"}, std::move(o)) {
        if (!monitor.CapiStart()) throw std::runtime_error("CapiStart");
        if (!bis([&] { return t.port() != 0; }, [&] { t.pumpen(); })) throw std::runtime_error("kein Port");
    }
    std::string adresse() const { return "127.0.0.1:" + std::to_string(t.port()); }
    // Ticks the monitor until `fertig` holds.
    bool abfragenBis(const std::function<bool()>& fertig) {
        return bis(fertig, [&] { monitor.CapiAbfrage(); });
    }
    bool gemeldet(const std::string& zeile) const {
        return std::find(meldungen.begin(), meldungen.end(), zeile) != meldungen.end();
    }

    SipTreiber t;
    std::vector<std::string> meldungen;
    std::vector<std::string> pruefungen;
    std::int64_t jetzt = 0;
    Anrufmonitor monitor{t, [this](const std::string& m) { meldungen.push_back(m); },
                         [this](const std::string& anrufer, const std::string& msn) {
                             pruefungen.push_back(anrufer + "|" + msn);
                             if (beimPruefen) beimPruefen();
                         },
                         [this] { return jetzt; }};
    std::function<void()> beimPruefen;
};

// A call from `anrufer` to `msn` that the gateway declines.
void eingehenderAnruf(Monitorumgebung& u, const std::string& anrufer, const std::string& msn) {
    SippLauf sipp("anruf.xml", {"-key", "anrufer", anrufer, "-s", msn, u.adresse()});
    EXPECT_EQ(sipp.warten([&] { u.monitor.CapiAbfrage(); }), 0) << sipp.protokoll();
}

TEST_F(SipTest, AnIncomingCallGoesThroughTheWholeGatewayAndIsDeclinedWith486) {
    test::Vermittlungsumgebung g;
    g.leitstelleAntwortet(0, "6A1B2345", 500);
    SipTreiber t({"127.0.0.1:9", "620", "geheim"}, optionen(false));
    Anrufmonitor monitor{t, [&](const std::string& m) { g.v.MeldungSchreiben(m); },
                         [&](const std::string& anrufer, const std::string& msn) { g.v.RufPruefen(anrufer, msn); },
                         [&] { return g.zeit.monotonMs(); }};
    ASSERT_TRUE(monitor.CapiStart());
    g.zeit.timer().aktivieren(1000, [&] { monitor.CapiAbfrage(); });
    ASSERT_TRUE(bis([&] { return t.port() != 0; }, [&] { t.pumpen(); }));
    g.zeit.laufen(1000);

    SippLauf anrufer("anruf.xml", {"-key", "anrufer", "01701234567", "-s", "222",
                                   "127.0.0.1:" + std::to_string(t.port())});
    ASSERT_TRUE(bis([&] { return t.wartend() > 0; }, [&] { t.pumpen(); })) << anrufer.protokoll();
    // One tick: the call is matched, the status sent and acknowledged, the
    // call-back dialled, all on simulated time, and then declined.
    g.zeit.laufen(1000);
    EXPECT_EQ(anrufer.warten([&] { t.pumpen(); }), 0) << anrufer.protokoll();

    EXPECT_TRUE(g.ui.gemeldet("Eingang: 01701234567\t ruft: 222"));
    EXPECT_TRUE(g.ui.gemeldet("Sende FMS 6A1B2345\t Status=2"));
    EXPECT_TRUE(g.ui.gemeldet("Quittung für 6A1B2345\tvon Leitstelle"));
    ASSERT_EQ(g.waehler.anrufe.size(), 1u);
    EXPECT_EQ(g.waehler.anrufe[0].nummer, "01701234567");
    EXPECT_EQ(g.waehler.anrufe[0].msn, "222");
    ASSERT_EQ(g.ui.listen[Liste::Anrufe].size(), 1u);
    EXPECT_EQ(g.ui.listen[Liste::Anrufe][0].substr(9), "01701234567\t222\t6A1B2345\t2\tDTR\tja");
    EXPECT_EQ(g.logZeilen().size(), 1u);
    monitor.CapiStop();
}

// The 486 goes out as soon as the call is recorded, before the dispatch and
// its waits: the router's INVITE is answered while the matcher still runs.
TEST_F(SipTest, TheCallIsDeclinedAsSoonAsItIsRecordedNotAfterTheDispatch) {
    Monitorumgebung u("127.0.0.1:9", optionen(false));
    SippLauf sipp("anruf.xml", {"-key", "anrufer", "01701234567", "-s", "222", u.adresse()});
    int imAbgleich = -1;
    u.beimPruefen = [&] { imAbgleich = sipp.warten([&] { u.t.pumpen(); }, std::chrono::seconds(10)); };
    ASSERT_TRUE(u.abfragenBis([&] { return !u.pruefungen.empty(); }));
    EXPECT_EQ(imAbgleich, 0) << sipp.protokoll();
    EXPECT_THAT(sipp.protokoll(), ::testing::Not(HasSubstr("Aborting")));
}

// Between ticks the pump takes a call in and declines it: the router has its
// answer within the pump's 20 ms, not only at the next one-second tick. The
// dispatch waits for the tick.
TEST_F(SipTest, ThePumpDeclinesACallWithoutWaitingForTheTick) {
    Monitorumgebung u("127.0.0.1:9", optionen(false));
    SippLauf sipp("anruf.xml", {"-key", "anrufer", "01701234567", "-s", "222", u.adresse()});
    EXPECT_EQ(sipp.warten([&] { u.monitor.pumpen(); }, std::chrono::seconds(10)), 0) << sipp.protokoll();
    EXPECT_TRUE(u.gemeldet("Eingang: 01701234567\t ruft: 222"));
    EXPECT_TRUE(u.pruefungen.empty());
    EXPECT_EQ(u.monitor.wartendeAnrufe(), 1u);
    u.monitor.CapiAbfrage();
    EXPECT_THAT(u.pruefungen, ElementsAre("01701234567|222"));
}

// Ten INVITEs at once are all recorded in one step and each answered before
// any dispatch starts.
TEST_F(SipTest, EveryPendingCallIsHandedOverAtOnce) {
    Monitorumgebung u("127.0.0.1:9", optionen(false));
    std::vector<std::unique_ptr<SippLauf>> anrufer;
    for (int i = 0; i < 10; ++i)
        anrufer.push_back(std::make_unique<SippLauf>(
            "anruf.xml", std::vector<std::string>{"-key", "anrufer", "017012345" + std::to_string(10 + i), "-s",
                                                  "222", u.adresse()}));
    ASSERT_TRUE(bis([&] { return u.t.wartend() == 10; }, [&] { u.t.pumpen(); }));
    std::size_t eingaengeBeimErsten = 0;
    u.beimPruefen = [&] {
        if (eingaengeBeimErsten == 0)
            eingaengeBeimErsten = static_cast<std::size_t>(
                std::count_if(u.meldungen.begin(), u.meldungen.end(), [](const std::string& m) { return m.starts_with("Eingang: "); }));
    };
    u.monitor.CapiAbfrage();
    EXPECT_EQ(eingaengeBeimErsten, 10u);
    EXPECT_EQ(u.pruefungen.size(), 10u);
    for (auto& a : anrufer) EXPECT_EQ(a->warten([&] { u.t.pumpen(); }), 0) << a->protokoll();
}

TEST_F(SipTest, AnsweredElsewhereAndSuppressedCallersGiveTheirTexts) {
    Monitorumgebung u("127.0.0.1:9", optionen(false));
    SippLauf sipp("anruf_anderswo.xml", {"-key", "anrufer", "anonymous", "-s", "333", u.adresse()});
    // The router's CANCEL arrives before the gateway's tick: both are handed
    // over in one step, and the cancelled call gets no 486.
    ASSERT_TRUE(bis([&] { return u.t.wartend() == 2; }, [&] { u.t.pumpen(); })) << sipp.protokoll();
    EXPECT_EQ(sipp.warten([&] { u.monitor.CapiAbfrage(); }), 0) << sipp.protokoll();
    ASSERT_TRUE(u.abfragenBis([&] { return u.gemeldet("Rufbehandlung: \tAngenommen an anderem Telefon"); }));
    EXPECT_THAT(u.meldungen, Contains("Eingang: Unbekannt\t ruft: 333"));
    EXPECT_THAT(u.pruefungen, ElementsAre("Unbekannt|333"));
}

TEST_F(SipTest, TheRoutersAssertedIdentityNamesTheCaller) {
    Monitorumgebung u("127.0.0.1:9", optionen(false));
    SippLauf sipp("anruf_pai.xml", {"-key", "anrufer", "+491701234567", "-s", "222", u.adresse()});
    EXPECT_EQ(sipp.warten([&] { u.monitor.CapiAbfrage(); }), 0) << sipp.protokoll();
    EXPECT_THAT(u.meldungen, Contains("Eingang: 01701234567\t ruft: 222"));
    EXPECT_THAT(u.pruefungen, ElementsAre("01701234567|222"));
}

TEST_F(SipTest, OnceRegisteredOnlyTheRouterMayRingTheGateway) {
    {
        Monitorumgebung u("127.0.0.2:9", optionen(true));
        SippLauf fremd("anruf_fremd.xml", {"-key", "anrufer", "01701234567", "-s", "222", u.adresse()});
        EXPECT_EQ(fremd.warten([&] { u.monitor.CapiAbfrage(); }), 0) << fremd.protokoll();
        EXPECT_THAT(u.meldungen, Contains("SIP-Anruf von fremder Adresse abgewiesen:\t127.0.0.1"));
        EXPECT_TRUE(u.pruefungen.empty());
    }
    Monitorumgebung u("127.0.0.1:9", optionen(true));
    eingehenderAnruf(u, "01701234567", "222");
    EXPECT_THAT(u.pruefungen, ElementsAre("01701234567|222"));
}

TEST_F(SipTest, TheCallBackRingsAndIsCancelledWhenItsRingTimeIsOver) {
    SippLauf angerufen("rueckruf_klingeln.xml", {});
    Monitorumgebung u(angerufen.adresse(), optionen(false));
    eingehenderAnruf(u, "01701234567", "222");
    ASSERT_THAT(u.pruefungen, ElementsAre("01701234567|222"));

    u.monitor.waehlen("01701234567", "222");
    ASSERT_TRUE(u.abfragenBis([&] { return u.t.wartend() == 0 && u.monitor.offeneRueckrufe() == 1; }));
    u.jetzt = Anrufmonitor::kKlingeldauerMs - 1;
    u.monitor.CapiAbfrage();
    EXPECT_TRUE(angerufen.laeuft());
    u.jetzt = Anrufmonitor::kKlingeldauerMs;
    EXPECT_EQ(angerufen.warten([&] { u.monitor.CapiAbfrage(); }), 0) << angerufen.protokoll();
    ASSERT_TRUE(u.abfragenBis([&] { return u.monitor.offeneRueckrufe() == 0; }));
    EXPECT_THAT(u.meldungen, Contains("Rufbehandlung: \tRückruf beendet"));

    const std::string log = angerufen.protokoll();
    EXPECT_THAT(log, HasSubstr("INVITE sip:01701234567@"));
    EXPECT_THAT(log, HasSubstr("From: <sip:222@"));
    EXPECT_THAT(log, HasSubstr("a=inactive"));
}

TEST_F(SipTest, TheCallBackGivesTheAccountsCredentialsWhenTheRouterAsks) {
    SippLauf router("rueckruf_anfrage.xml", {});
    Monitorumgebung u(router.adresse(), optionen(false));
    u.monitor.waehlen("0301234", "111");
    EXPECT_EQ(router.warten([&] { u.monitor.CapiAbfrage(); }), 0) << router.protokoll();
    ASSERT_TRUE(u.abfragenBis([&] { return u.monitor.offeneRueckrufe() == 0; }));
    EXPECT_EQ(u.jetzt, 0);
    EXPECT_THAT(router.protokoll(), HasSubstr("Authorization: Digest username=\"620\""));
}

TEST_F(SipTest, AnAnsweredCallBackIsEndedWithByeAtOnce) {
    SippLauf angerufen("rueckruf_annehmen.xml", {});
    Monitorumgebung u(angerufen.adresse(), optionen(false));
    u.monitor.waehlen("0301234", "111");
    EXPECT_EQ(angerufen.warten([&] { u.monitor.CapiAbfrage(); }), 0) << angerufen.protokoll();
    ASSERT_TRUE(u.abfragenBis([&] { return u.monitor.offeneRueckrufe() == 0; }));
    EXPECT_EQ(u.jetzt, 0);  // no ring time passed
    EXPECT_THAT(u.meldungen, Contains("Rufbehandlung: \tRückruf beendet"));
}

// No call came from it, and it is not 12 digits long: the INVITE's request
// URI carries it exactly, as SIPp received it.
TEST_F(SipTest, ACallBackToANumberNeverSeenDialsExactlyThatNumber) {
    SippLauf angerufen("rueckruf_annehmen.xml", {});
    Monitorumgebung u(angerufen.adresse(), optionen(false));
    u.monitor.waehlen("01711234567", "4711");
    EXPECT_EQ(angerufen.warten([&] { u.monitor.CapiAbfrage(); }), 0) << angerufen.protokoll();
    EXPECT_THAT(angerufen.protokoll(), HasSubstr("INVITE sip:01711234567@"));
    EXPECT_THAT(angerufen.protokoll(), HasSubstr("From: <sip:4711@"));
}

}  // namespace
}  // namespace rufpilot
