// The switch between the call monitor and the call-back driver, and the
// choice of driver from the settings.
#include "rufpilot/routermonitor/rueckruf_weiche.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/simulierte_leitung.h"
#include "rufpilot/demo/mitschrift.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"
#include "rufpilot/routermonitor/quellenwahl.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint32_t kMonitorPlci = 0x017F;

struct RueckrufWeicheTest : ::testing::Test {
    SimulierteLeitung anrufe, rueckrufe;
    std::vector<std::string> meldungen;
    RueckrufWeiche weiche{std::make_unique<MitschreibenderTreiber>(anrufe), AnrufmonitorTreiber::kController,
                          std::make_unique<MitschreibenderTreiber>(rueckrufe),
                          [this](const std::string& m) { meldungen.push_back(m); }};
    std::uint32_t applId = 0;

    void SetUp() override {
        anrufe.netzSpielen(false);
        anrufe.applIdSetzen(3);
        rueckrufe.applIdSetzen(9);
        applId = weiche.registrieren(3072, 2, 7, 2048);
        ASSERT_EQ(applId, 3u);
    }
    std::vector<std::string> geholt() {
        std::vector<std::string> namen;
        CapiNachricht n;
        while (weiche.holen(applId, n) == 0) {
            char adresse[16];
            std::snprintf(adresse, sizeof adresse, "0x%04X", Le32(n, 8));
            namen.push_back(CapiName(n[4], n[5]) + " " + adresse + " appl " + std::to_string(Le16(n, 2)));
        }
        return namen;
    }
};

TEST_F(RueckrufWeicheTest, CallsStayWithTheMonitorAndCallBacksGoToTheSecondDriver) {
    weiche.senden(applId, ListenReq(3));
    anrufe.connectIndRoh(kMonitorPlci, "");
    EXPECT_THAT(geholt(), ElementsAre("CONNECT_IND 0x017F appl 3"));
    weiche.senden(applId, AlertReq(3, kMonitorPlci));
    weiche.senden(applId, ConnectResp(3, 1, kMonitorPlci));
    weiche.senden(applId, ConnectReq(3, 7, "01711234567", "4712"));
    EXPECT_THAT(anrufe.protokoll(), ElementsAre("LISTEN_REQ 0x0001 #1", "ALERT_REQ 0x017F #0", "CONNECT_RESP 0x017F #1"));
    EXPECT_THAT(rueckrufe.protokoll(), ElementsAre("LISTEN_REQ 0x0001 #1", "CONNECT_REQ 0x0001 #7"));
    // The call-back's confirmation reaches the monitor under its own id;
    // clearing and answering it go back to the second driver.
    EXPECT_THAT(geholt(), ElementsAre("CONNECT_CONF 0x8101 appl 3"));
    weiche.senden(applId, DisconnectReq(3, 7, 0x8101));
    EXPECT_EQ(rueckrufe.protokoll().back(), "DISCONNECT_REQ 0x8101 #7");
    EXPECT_EQ(Le16(rueckrufe.gesendet().back().bytes, 2), 9u);  // its own application id
    EXPECT_THAT(geholt(), ElementsAre("DISCONNECT_CONF 0x8101 appl 3", "DISCONNECT_IND 0x8101 appl 3"));
    weiche.senden(applId, DisconnectResp(3, 2, 0x8101));
    EXPECT_EQ(rueckrufe.protokoll().back(), "DISCONNECT_RESP 0x8101 #2");
    EXPECT_EQ(anrufe.gesendet().size(), 3u);
}

TEST_F(RueckrufWeicheTest, CallsTheSecondDriverReportsRingOnAndAreNotReportedTwice) {
    rueckrufe.gesendetLeeren();
    rueckrufe.connectInd(0x0201, "4712", std::string("\x21\x80", 2) + "0171");
    EXPECT_THAT(geholt(), IsEmpty());
    EXPECT_THAT(rueckrufe.protokoll(), ElementsAre("CONNECT_RESP 0x0201 #256"));
    EXPECT_EQ(rueckrufe.gesendet().back().bytes[12], 1);  // Reject 1
}

TEST_F(RueckrufWeicheTest, ReleasingReleasesBoth) {
    weiche.freigeben(applId);
    EXPECT_EQ(anrufe.freigaben(), 1);
    EXPECT_EQ(rueckrufe.freigaben(), 1);
    CapiNachricht n;
    EXPECT_EQ(weiche.holen(applId, n), 0x1101u);
}

TEST(QuellenwahlTest, EachSourceGetsItsDriver) {
    int capi = 0;
    std::vector<SipKonto> sip;
    Quellenbau bau;
    bau.capi = [&] {
        ++capi;
        return std::make_unique<SimulierteLeitung>();
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
        return std::make_unique<SimulierteLeitung>();
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
