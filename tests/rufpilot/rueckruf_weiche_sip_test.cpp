// The call monitor's switch with the real SIP driver placing the call-backs,
// against an in-process SIP router on 127.0.0.1. Every wait pumps both stacks
// until what the other side did is seen; the bound only ends a failing test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/simulierte_leitung.h"
#include "rufpilot/demo/mitschrift.h"
#include "rufpilot/demo/sip_gegenstelle.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"
#include "rufpilot/routermonitor/rueckruf_weiche.h"
#include "rufpilot/sip/sip_treiber.h"
#include "rufpilot/ui/quellenstart.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct RueckrufWeicheSipTest : ::testing::Test {
    std::unique_ptr<SipGegenstelle> router = std::make_unique<SipGegenstelle>("620", "geheim");
    SimulierteLeitung anrufe;
    std::vector<std::string> meldungen;
    SipTreiber* sip = nullptr;
    std::unique_ptr<RueckrufWeiche> weiche;
    std::uint32_t applId = 0;
    std::vector<CapiNachricht> geholt;

    void SetUp() override {
        anrufe.netzSpielen(false);
        anrufe.applIdSetzen(3);
        SipOptionen o;
        o.lokal = "sip:127.0.0.1:0";
        o.meldung = [this](const std::string& m) { meldungen.push_back(m); };
        auto treiber = std::make_unique<SipTreiber>(SipKonto{router->adresse(), "620", "geheim"}, std::move(o));
        sip = treiber.get();
        weiche = std::make_unique<RueckrufWeiche>(std::make_unique<MitschreibenderTreiber>(anrufe),
                                                  AnrufmonitorTreiber::kController, std::move(treiber),
                                                  [this](const std::string& m) { meldungen.push_back(m); });
        applId = weiche->registrieren(3072, 2, 7, 2048);
        ASSERT_EQ(applId, 3u);
    }
    void TearDown() override {
        // The router goes first: the refused un-registration ends at once.
        router.reset();
        if (weiche) weiche->freigeben(applId);
    }

    // Pumps like a host and fetches like the monitor until `fertig`.
    bool bis(const std::function<bool()>& fertig) {
        const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!fertig()) {
            if (std::chrono::steady_clock::now() > ende) return false;
            if (router) router->pumpen();
            weiche->pumpen();
            CapiNachricht n;
            while (weiche->holen(applId, n) == 0) geholt.push_back(n);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    std::vector<std::string> namen() const {
        std::vector<std::string> aus;
        for (const CapiNachricht& n : geholt) aus.push_back(CapiName(n[4], n[5]));
        return aus;
    }
    const CapiNachricht* gefunden(std::uint8_t befehl, std::uint8_t unterbefehl) const {
        for (const CapiNachricht& n : geholt)
            if (n[4] == befehl && n[5] == unterbefehl) return &n;
        return nullptr;
    }
};

TEST_F(RueckrufWeicheSipTest, RegistersAndDeclinesTheCallsItIsOfferedItself) {
    ASSERT_TRUE(bis([&] { return router->angemeldet() && sip->angemeldet(); }));
    weiche->senden(applId, ListenReq(3));
    ASSERT_TRUE(bis([&] { return sip->wartend() == 0; }));
    // The account's LISTEN_CONF stays with the switch.
    EXPECT_THAT(namen(), IsEmpty());

    // The router forks the call to every phone: the monitor reports it, the
    // account's phone must let the others ring on.
    router->anrufen("01711234567", "4712");
    ASSERT_TRUE(bis([&] { return router->antwort() != 0; }));
    EXPECT_EQ(router->antwort(), 486);
    EXPECT_THAT(namen(), IsEmpty());
    EXPECT_THAT(meldungen, ElementsAre("SIP angemeldet:\t620@" + router->adresse()));
}

TEST_F(RueckrufWeicheSipTest, CallBacksRingThroughTheAccountAndStayApartFromTheMonitorsCalls) {
    ASSERT_TRUE(bis([&] { return router->angemeldet(); }));
    weiche->senden(applId, ListenReq(3));
    // The monitor reports a national number without its "0"; the call-back's
    // CONNECT_REQ pads it to twelve digits, the account must dial it as it is.
    anrufe.connectInd(0x017F, "4712", std::string("\x21\x80", 2) + "1711234567");
    ASSERT_TRUE(bis([&] { return gefunden(capi::kConnect, capi::kInd) != nullptr; }));
    ASSERT_EQ(weiche->senden(applId, ConnectReq(3, 7, "01711234567", "4712")), 0u);
    ASSERT_TRUE(bis([&] { return gefunden(capi::kConnect, capi::kConf) && router->rueckrufe() == 1; }));
    EXPECT_EQ(router->gewaehlt(), "01711234567");
    const CapiNachricht& conf = *gefunden(capi::kConnect, capi::kConf);
    EXPECT_EQ(Le16(conf, 2), 3u);
    const std::uint32_t plci = Le32(conf, 8);
    // 0x7F in the low bits would route the call-back's clearing to the monitor.
    EXPECT_NE(plci & 0x7FU, AnrufmonitorTreiber::kController);
    EXPECT_EQ(Le16(conf, 12), 0u);

    weiche->senden(applId, DisconnectReq(3, 8, plci));
    ASSERT_TRUE(bis([&] { return gefunden(capi::kDisconnect, capi::kInd) && router->rueckrufeBeendet() == 1; }));
    EXPECT_EQ(Le32(*gefunden(capi::kDisconnect, capi::kInd), 8), plci);
    EXPECT_EQ(Le32(*gefunden(capi::kDisconnect, capi::kConf), 8), plci);
    EXPECT_THAT(anrufe.protokoll(), ElementsAre("LISTEN_REQ 0x0001 #1"));
}

TEST(SipTreiberMacherTest, TheProgramsSipDriverRegistersAndWritesThroughTheGivenMessageWriter) {
    auto router = std::make_unique<SipGegenstelle>("620", "geheim");
    std::vector<std::string> meldungen;
    const SipTreiberMacher macher = sipTreiberMacher();
    ASSERT_TRUE(macher);
    auto treiber = macher(SipKonto{router->adresse(), "620", "geheim"},
                          [&](const std::string& m) { meldungen.push_back(m); });
    ASSERT_EQ(treiber->registrieren(3072, 2, 7, 2048), 1u);
    const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (meldungen.empty() && std::chrono::steady_clock::now() < ende) {
        router->pumpen();
        treiber->pumpen();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_THAT(meldungen, ElementsAre("SIP angemeldet:\t620@" + router->adresse()));
    EXPECT_TRUE(router->angemeldet());
    EXPECT_EQ(router->abgewiesen(), 0);
    router.reset();  // the refused un-registration ends at once
}

// The demo's router checks the digest for real, so the demo's registration proves the account.
TEST(SipGegenstelleTest, ARegisterWithAWrongPasswordIsRefused) {
    auto router = std::make_unique<SipGegenstelle>("620", "geheim");
    std::vector<std::string> meldungen;
    auto treiber = sipTreiberMacher()(SipKonto{router->adresse(), "620", "falsch"},
                                      [&](const std::string& m) { meldungen.push_back(m); });
    ASSERT_EQ(treiber->registrieren(3072, 2, 7, 2048), 1u);
    const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (meldungen.empty() && std::chrono::steady_clock::now() < ende) {
        router->pumpen();
        treiber->pumpen();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_THAT(meldungen, ElementsAre("SIP-Anmeldung fehlgeschlagen:\t401 Unauthorized"));
    EXPECT_FALSE(router->angemeldet());
    EXPECT_EQ(router->abgewiesen(), 1);
    treiber.reset();
}

}  // namespace
}  // namespace rufpilot
