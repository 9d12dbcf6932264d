// The switch between the source that reports the calls and the one that
// places the call-backs, and the choice of source from the settings.
#include "rufpilot/routermonitor/rueckruf_weiche.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/simulation/simulierte_leitung.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"
#include "rufpilot/routermonitor/quellenwahl.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct RueckrufWeicheTest : ::testing::Test {
    SimulierteLeitung anrufe, rueckrufe;
    std::vector<std::string> meldungen;
    RueckrufWeiche weiche{std::make_unique<CapiQuelle>(anrufe), std::make_unique<CapiQuelle>(rueckrufe)};

    void SetUp() override {
        anrufe.netzSpielen(false);
        weiche.meldungenAn([this](const std::string& m) { meldungen.push_back(m); });
        ASSERT_TRUE(weiche.starten());
        anrufe.gesendetLeeren();
        while (rueckrufe.wartend() > 0) weiche.schritt();  // LISTEN_CONF
        rueckrufe.gesendetLeeren();
    }
};

TEST_F(RueckrufWeicheTest, CallsStayWithTheFirstSourceAndCallBacksGoToTheSecond) {
    anrufe.connectInd(0x0101, "4712", std::string("\x21\x80", 2) + "171");
    const auto eingang = weiche.schritt();
    ASSERT_EQ(eingang.size(), 1u);
    ASSERT_TRUE(std::holds_alternative<Eingang>(eingang[0]));
    const Eingang ruf = std::get<Eingang>(eingang[0]);
    EXPECT_EQ(ruf.anrufer, "0171");
    weiche.weiterklingeln(ruf.id);
    const Waehlergebnis w = weiche.waehlen("0171", "4712");
    ASSERT_TRUE(w.id);
    EXPECT_NE(*w.id, ruf.id);
    EXPECT_THAT(anrufe.protokoll(), ElementsAre("ALERT_REQ 0x0101 #0", "CONNECT_RESP 0x0101 #256"));
    EXPECT_THAT(rueckrufe.protokoll(), ElementsAre("CONNECT_REQ 0x0001 #1"));
    EXPECT_TRUE(weiche.schritt().empty());  // the CONNECT_CONF stays with the second source
    // Clearing goes to the second source; its end comes back under the call-back's id.
    weiche.auflegen(*w.id);
    EXPECT_EQ(rueckrufe.protokoll().back(), "DISCONNECT_REQ 0x8101 #1");
    EXPECT_TRUE(weiche.schritt().empty());  // DISCONNECT_CONF: one message a step, as CAPI does
    const auto ende = weiche.schritt();
    ASSERT_EQ(ende.size(), 1u);
    ASSERT_TRUE(std::holds_alternative<Ende>(ende[0]));
    EXPECT_EQ(std::get<Ende>(ende[0]).id, *w.id);
    // An id of the first source's calls never reaches the second.
    weiche.auflegen(ruf.id);
    EXPECT_EQ(rueckrufe.protokoll().back(), "DISCONNECT_RESP 0x8101 #256");
    EXPECT_EQ(anrufe.gesendet().size(), 2u);
}

TEST_F(RueckrufWeicheTest, CallsTheSecondSourceReportsRingOnAndAreNotReportedTwice) {
    rueckrufe.connectInd(0x0201, "4712", std::string("\x21\x80", 2) + "0171");
    EXPECT_TRUE(weiche.schritt().empty());
    EXPECT_THAT(rueckrufe.protokoll(), ElementsAre("ALERT_REQ 0x0201 #0", "CONNECT_RESP 0x0201 #256"));
    EXPECT_EQ(rueckrufe.gesendet().back().bytes[12], 1);  // Reject 1
}

TEST_F(RueckrufWeicheTest, StoppingStopsBoth) {
    weiche.stoppen();
    EXPECT_EQ(anrufe.freigaben(), 1);
    EXPECT_EQ(rueckrufe.freigaben(), 1);
    EXPECT_TRUE(weiche.schritt().empty());
}

TEST(RueckrufWeicheOhneZweite, AMissingCallBackSourceIsSaidAndItsCallBacksRefused) {
    SimulierteLeitung anrufe, rueckrufe;
    rueckrufe.vorhandenSetzen(false);
    rueckrufe.applIdSetzen(0);
    std::vector<std::string> meldungen;
    RueckrufWeiche weiche{std::make_unique<CapiQuelle>(anrufe), std::make_unique<CapiQuelle>(rueckrufe)};
    weiche.meldungenAn([&](const std::string& m) { meldungen.push_back(m); });
    std::string gesucht;
    EXPECT_TRUE(weiche.vorhanden(gesucht));
    EXPECT_TRUE(weiche.starten());
    EXPECT_THAT(meldungen, ElementsAre("Rückrufe nicht möglich:\tsimulierte Leitung",
                                       "Rückrufe nicht möglich:\tAnmeldung fehlgeschlagen"));
    const Waehlergebnis w = weiche.waehlen("0171", "4712");
    EXPECT_FALSE(w.id);
    EXPECT_EQ(w.abgewiesen, "Rückrufquelle nicht angemeldet");
    EXPECT_THAT(rueckrufe.gesendet(), IsEmpty());
}

TEST(QuellenwahlTest, EachSourceGetsItsDriver) {
    int capi = 0;
    std::vector<SipKonto> sip;
    Quellenbau bau;
    bau.capi = [&] {
        ++capi;
        return std::make_unique<CapiQuelle>(std::make_unique<SimulierteLeitung>());
    };
    bau.uhr = [] { return 0; };
    Quelleneinstellungen q;
    std::string gesucht;
    EXPECT_TRUE(rufquelleBauen(q, bau)->vorhanden(gesucht));
    EXPECT_EQ(capi, 1);

    q.art = Quellenart::Sip;
    q.sip = {"fritz.box", "620", "geheim"};
    EXPECT_FALSE(rufquelleBauen(q, bau)->vorhanden(gesucht));
    EXPECT_EQ(gesucht, "SIP ist in diesem Programm noch nicht verfügbar");
    bau.sip = [&](const SipKonto& konto) {
        sip.push_back(konto);
        return std::make_unique<CapiQuelle>(std::make_unique<SimulierteLeitung>());
    };
    rufquelleBauen(q, bau);
    ASSERT_EQ(sip.size(), 1u);
    EXPECT_EQ(sip[0].benutzer, "620");

    q.art = Quellenart::Anrufmonitor;
    EXPECT_FALSE(rufquelleBauen(q, bau)->vorhanden(gesucht));
    EXPECT_EQ(gesucht, "Anrufmonitor: kein Router eingetragen");
    q.monitorHost = "192.0.2.1";
    const auto mitSip = rufquelleBauen(q, bau);
    EXPECT_NE(dynamic_cast<RueckrufWeiche*>(mitSip.get()), nullptr);
    EXPECT_EQ(sip.size(), 2u);
    q.sip = {};
    const auto ohneSip = rufquelleBauen(q, bau);
    EXPECT_NE(dynamic_cast<AnrufmonitorTreiber*>(ohneSip.get()), nullptr);
    EXPECT_TRUE(ohneSip->vorhanden(gesucht));
    EXPECT_EQ(gesucht, "Anrufmonitor 192.0.2.1:1012");
    EXPECT_EQ(capi, 1);
}

}  // namespace
}  // namespace rufpilot
