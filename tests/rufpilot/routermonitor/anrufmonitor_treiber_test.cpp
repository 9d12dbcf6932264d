// The call monitor driver against a real TCP peer on 127.0.0.1. Time is a
// hand-driven clock; the test waits on what the driver's socket did (poll),
// never on a wall clock.
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <memory>

#include "rufpilot/capi/capi_rufnummern.h"
#include "rufpilot/demo/monitor_gegenstelle.h"
#include "rufpilot/sip/sip_anrufer.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct AnrufmonitorTreiberTest : ::testing::Test {
    std::int64_t jetzt = 0;
    std::vector<std::string> meldungen;
    std::unique_ptr<MonitorGegenstelle> router = std::make_unique<MonitorGegenstelle>();
    AnrufmonitorTreiber treiber{"127.0.0.1", router->port(), [this] { return jetzt; }};

    void SetUp() override {
        treiber.meldungenAn([this](const std::string& m) { meldungen.push_back(m); });
        ASSERT_TRUE(treiber.starten());
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
        EXPECT_TRUE(treiber.schritt().empty());
        ASSERT_TRUE(treiber.verbunden());
    }
    // Writes, then takes every event the bytes produced.
    std::vector<Anrufereignis> senden(std::string_view bytes) {
        router->schreiben(bytes);
        bereit();
        // Everything that arrived comes in one step.
        return treiber.schritt();
    }
    // Caller and MSN of a call that came in.
    static std::pair<std::string, std::string> eingang(const Anrufereignis& e) {
        const auto* ruf = std::get_if<Eingang>(&e);
        if (!ruf) return {"kein Eingang", ""};
        return {ruf->anrufer, ruf->msn};
    }
    static AnrufId id(const Anrufereignis& e) {
        return std::visit([](const auto& x) { return x.id; }, e);
    }
    using Paar = std::pair<std::string, std::string>;
};

TEST_F(AnrufmonitorTreiberTest, RingLinesBecomeCallsHoweverTheyArrive) {
    EXPECT_THAT(meldungen, ElementsAre("Anrufmonitor verbunden:\t127.0.0.1:" + std::to_string(router->port())));
    // One line split across three packets, CR LF.
    EXPECT_THAT(senden("08.12.26 10:00:01;RI"), IsEmpty());
    EXPECT_THAT(senden("NG;0;01711234567;47"), IsEmpty());
    auto n = senden("12;SIP0;\r\n");
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(eingang(n[0]), (Paar{"01711234567", "4712"}));
    // Two lines in one packet, LF only; an internal number keeps its digits;
    // a suppressed number reads "Unbekannt".
    n = senden("08.12.26 10:00:02;RING;1;12;4713;SIP0;\n08.12.26 10:00:03;RING;2;;4714;SIP0;\n");
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(eingang(n[0]), (Paar{"12", "4713"}));
    EXPECT_EQ(eingang(n[1]), (Paar{"Unbekannt", "4714"}));
    // Each call has its own id.
    EXPECT_NE(id(n[0]), id(n[1]));
    EXPECT_NE(id(n[0]), 0u);
}

// A burst of 300 RING lines: every call comes, in order, in one step.
TEST_F(AnrufmonitorTreiberTest, ABurstOfCallsIsHandedOverWholeAndInOrder) {
    std::string zeilen;
    for (int i = 0; i < 300; ++i) zeilen += "t;RING;" + std::to_string(i) + ";0301" + std::to_string(1000 + i) + ";4712;SIP0;\n";
    router->schreiben(zeilen);
    std::vector<Anrufereignis> alle;
    while (alle.size() < 300) {
        bereit();
        for (auto& e : treiber.schritt()) alle.push_back(std::move(e));
    }
    ASSERT_EQ(alle.size(), 300u);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(eingang(alle[static_cast<std::size_t>(i)]).first, "0301" + std::to_string(1000 + i));
}

// The same number gives the same text whichever source reports it: the
// ISDN digits (a national number without its "0"), a SIP user part, a RING
// line's caller field (here without the closing ';' and ended by a bare CR).
TEST_F(AnrufmonitorTreiberTest, EverySourceGivesTheSameTextForTheSameNumber) {
    struct Fall {
        const char* isdn;  // nullptr: no ISDN form (ISDN puts the "0" in front)
        const char* sip;
        const char* monitor;
        const char* text;
    };
    const Fall faelle[] = {
        {"301234567", "+49301234567", "+49301234567", "0301234567"},
        {"0301234567", "0049-30-1234567", "0049301234567", "0301234567"},
        {"0043660123", "+43660123", "+43660123", "0043660123"},
        {nullptr, "4799", "4799", "4799"},
        {nullptr, "**610", "**610", "**610"},
    };
    std::string zeilen;
    for (std::size_t i = 0; i < std::size(faelle); ++i)
        zeilen += "t;RING;" + std::to_string(i) + ";" + faelle[i].monitor + ";4712;SIP0\r";
    const auto n = senden(zeilen);
    ASSERT_EQ(n.size(), std::size(faelle));
    for (std::size_t i = 0; i < std::size(faelle); ++i) {
        const Fall& f = faelle[i];
        EXPECT_EQ(eingang(n[i]), (Paar{f.text, "4712"})) << f.monitor;
        EXPECT_EQ(SipAnrufer({f.sip, "h", false, "", ""}), f.text) << f.sip;
        if (!f.isdn) continue;
        // Called party number "1", then the calling party number struct.
        std::string bereich = "\x02\x81" "1";
        bereich.push_back(static_cast<char>(2 + std::string_view(f.isdn).size()));
        bereich += std::string("\x01\x80") + f.isdn;
        EXPECT_EQ(AnruferAusNummernbereich(bereich), f.text) << f.isdn;
    }
}

// A megabyte without a line end is dropped with one message; the calls
// before and behind it come all the same.
TEST_F(AnrufmonitorTreiberTest, AHugeLineIsDroppedWithOneMessageAndTheLinesAfterItCome) {
    meldungen.clear();
    const std::string strom =
        "t;RING;1;0171;4712;SIP0;\n" + std::string(1 << 20, '9') + "\r\nt;RING;2;0172;4713;SIP0;\n";
    // Written as the socket takes it and read as it arrives: the router
    // does not wait for the gateway.
    std::string_view rest = strom;
    std::vector<Anrufereignis> alle;
    while (alle.size() < 2) {
        if (!rest.empty()) {
            const ssize_t n = ::send(router->fd(), rest.data(), rest.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n > 0) rest.remove_prefix(static_cast<std::size_t>(n));
            else ASSERT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK) << errno;
        }
        bereit();
        for (auto& e : treiber.schritt()) alle.push_back(std::move(e));
    }
    ASSERT_EQ(alle.size(), 2u);
    EXPECT_EQ(eingang(alle[0]), (Paar{"0171", "4712"}));
    EXPECT_EQ(eingang(alle[1]), (Paar{"0172", "4713"}));
    EXPECT_THAT(meldungen, ElementsAre("Anrufmonitor-Zeile zu lang:\tverworfen"));
}

TEST_F(AnrufmonitorTreiberTest, GarbageIsToldAndSkippedAndCallsAroundItStillCome) {
    meldungen.clear();
    const auto n = senden("Hallo\x01Welt\r\n08.12.26 10:00:05;CALL;7;0;4711;0301234;SIP1;\n" +
                          std::string(600, 'x') + "\n08.12.26 10:00:01;RING;0;0221555;4712;SIP0;\n");
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(eingang(n[0]), (Paar{"0221555", "4712"}));
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
    const auto* ende0 = std::get_if<Ende>(&n[2]);
    const auto* ende1 = std::get_if<Ende>(&n[3]);
    ASSERT_TRUE(ende0 && ende1);
    EXPECT_EQ(ende0->id, id(n[0]));
    EXPECT_EQ(ende0->grund, (Ausloesung{Netz::Anrufmonitor, Ausloesegrund::Aufgelegt, {}}));
    EXPECT_EQ(ende1->id, id(n[1]));
    EXPECT_EQ(ende1->grund, (Ausloesung{Netz::Anrufmonitor, Ausloesegrund::AnderswoAngenommen, {}}));
    // Not the S0 bus: the words of the router's world.
    EXPECT_EQ(AusloesungText(ende1->grund), "Angenommen an anderem Telefon");
    // A second DISCONNECT of the same call, or of an unknown one, says nothing.
    EXPECT_THAT(senden("t;DISCONNECT;1;12;\n"), IsEmpty());
}

TEST_F(AnrufmonitorTreiberTest, ACallBackIsRefusedInWordsOnly) {
    const auto n = senden("t;RING;0;0171;4712;SIP0;\n");
    ASSERT_EQ(n.size(), 1u);
    treiber.weiterklingeln(id(n[0]));  // nothing to answer
    meldungen.clear();
    const Waehlergebnis w = treiber.waehlen("01711234567", "4712");
    EXPECT_FALSE(w.id);
    // Said once here; no second refusal with a code follows.
    EXPECT_TRUE(w.abgewiesen.empty());
    EXPECT_THAT(meldungen, ElementsAre(HasSubstr("Kein Rückruf möglich:\t")));
    EXPECT_TRUE(treiber.schritt().empty());
}

TEST_F(AnrufmonitorTreiberTest, ALostRouterIsRetriedWithGrowingPausesUntilItIsBack) {
    const std::uint16_t port = router->port();
    meldungen.clear();
    router->trennen();
    bereit();
    EXPECT_TRUE(treiber.schritt().empty());
    EXPECT_FALSE(treiber.verbunden());
    EXPECT_THAT(meldungen, ElementsAre(HasSubstr("Anrufmonitor getrennt:\t127.0.0.1:")));
    router.reset();  // gone: connects are refused

    // No attempt before the pause is over.
    jetzt += 999;
    EXPECT_TRUE(treiber.schritt().empty());
    EXPECT_EQ(treiber.socket(), -1);
    // Refused attempts: told once, the pause doubles each time.
    std::vector<std::int64_t> pausen;
    for (int versuch = 0; versuch < 8; ++versuch) {
        jetzt = treiber.naechsterVersuchMs();
        EXPECT_TRUE(treiber.schritt().empty());
        if (treiber.verbindet()) {
            bereit();
            EXPECT_TRUE(treiber.schritt().empty());
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
    EXPECT_TRUE(treiber.schritt().empty());
    router->annehmen();
    verbindungAbwarten();
    EXPECT_EQ(meldungen.back(), "Anrufmonitor verbunden:\t127.0.0.1:" + std::to_string(port));
    EXPECT_EQ(senden("t;RING;4;0171;4712;SIP0;\n").size(), 1u);
}

TEST_F(AnrufmonitorTreiberTest, ALongSilentFeedIsConnectedAnewWithoutAWord) {
    jetzt += AnrufmonitorTreiber::Zeiten{}.stilleMs - 1;
    EXPECT_TRUE(treiber.schritt().empty());
    EXPECT_TRUE(treiber.verbunden());
    meldungen.clear();
    jetzt += 1;
    treiber.schritt();
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
    treiber.schritt();
    if (treiber.verbindet()) {
        bereit();
        treiber.schritt();
    }
    EXPECT_THAT(meldungen, ElementsAre(HasSubstr("Anrufmonitor nicht erreichbar:\t")));
}

TEST_F(AnrufmonitorTreiberTest, ReleasingClosesTheConnection) {
    treiber.stoppen();
    EXPECT_EQ(treiber.socket(), -1);
    EXPECT_TRUE(treiber.schritt().empty());
    EXPECT_FALSE(treiber.verbunden());
}

TEST(AnrufmonitorTreiberOhneRouter, WithoutAHostThereIsNoDriver) {
    AnrufmonitorTreiber treiber("", 1012, [] { return 0; });
    std::string gesucht;
    EXPECT_FALSE(treiber.vorhanden(gesucht));
    EXPECT_FALSE(treiber.starten());
}

}  // namespace
}  // namespace rufpilot
