// The call monitor's switch with the real SIP driver placing the call-backs,
// against an in-process SIP router on 127.0.0.1. Every wait pumps both stacks
// until what the other side did is seen; the bound only ends a failing test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/simulation/simulierte_leitung.h"
#include "rufpilot/demo/sip_gegenstelle.h"
#include "rufpilot/routermonitor/rueckruf_weiche.h"
#include "rufpilot/sip/sip_treiber.h"
#include "rufpilot/betrieb/quellenstart.h"

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
    std::vector<Anrufereignis> geholt;

    void SetUp() override {
        anrufe.netzSpielen(false);
        SipOptionen o;
        o.lokal = "sip:127.0.0.1:0";
        auto treiber = std::make_unique<SipTreiber>(SipKonto{router->adresse(), "620", "geheim"}, std::move(o));
        sip = treiber.get();
        weiche = std::make_unique<RueckrufWeiche>(std::make_unique<CapiQuelle>(anrufe), std::move(treiber));
        weiche->meldungenAn([this](const std::string& m) { meldungen.push_back(m); });
        ASSERT_TRUE(weiche->starten());
    }
    void TearDown() override {
        // The router goes first: the refused un-registration ends at once.
        router.reset();
        if (weiche) weiche->stoppen();
    }

    // Pumps like a host and takes events like the monitor until `fertig`.
    bool bis(const std::function<bool()>& fertig) {
        const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!fertig()) {
            if (std::chrono::steady_clock::now() > ende) return false;
            if (router) router->pumpen();
            weiche->pumpen();
            for (Anrufereignis& e : weiche->schritt()) geholt.push_back(std::move(e));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    template <class T>
    const T* gefunden() const {
        for (const Anrufereignis& e : geholt)
            if (const auto* t = std::get_if<T>(&e)) return t;
        return nullptr;
    }
};

TEST_F(RueckrufWeicheSipTest, RegistersAndDeclinesTheCallsItIsOfferedItself) {
    ASSERT_TRUE(bis([&] { return router->angemeldet() && sip->angemeldet(); }));
    // The router forks the call to every phone: the monitor reports it, the
    // account's phone must let the others ring on.
    router->anrufen("01711234567", "4712");
    ASSERT_TRUE(bis([&] { return router->antwort() != 0; }));
    EXPECT_EQ(router->antwort(), 486);
    EXPECT_THAT(geholt, IsEmpty());
    EXPECT_THAT(meldungen, ElementsAre("SIP angemeldet:\t620@" + router->adresse()));
}

TEST_F(RueckrufWeicheSipTest, CallBacksRingThroughTheAccountAndStayApartFromTheMonitorsCalls) {
    ASSERT_TRUE(bis([&] { return router->angemeldet(); }));
    // The monitor reports a national number without its "0"; the account
    // dials exactly the number the call-back asks for.
    anrufe.connectInd(0x017F, "4712", std::string("\x21\x80", 2) + "1711234567");
    ASSERT_TRUE(bis([&] { return gefunden<Eingang>() != nullptr; }));
    EXPECT_EQ(gefunden<Eingang>()->anrufer, "01711234567");
    const Waehlergebnis w = weiche->waehlen("01711234567", "4712");
    ASSERT_TRUE(w.id);
    EXPECT_NE(*w.id, gefunden<Eingang>()->id);
    ASSERT_TRUE(bis([&] { return router->rueckrufe() == 1; }));
    EXPECT_EQ(router->gewaehlt(), "01711234567");

    weiche->auflegen(*w.id);
    ASSERT_TRUE(bis([&] { return gefunden<Ende>() && router->rueckrufeBeendet() == 1; }));
    EXPECT_EQ(gefunden<Ende>()->id, *w.id);
    EXPECT_EQ(AusloesungText(gefunden<Ende>()->grund), "Rückruf beendet");
    EXPECT_THAT(anrufe.protokoll(), ElementsAre("LISTEN_REQ 0x0001 #1"));
}

// A number never seen before (no call from it) is dialled as it stands:
// nothing is padded, nothing guessed.
TEST_F(RueckrufWeicheSipTest, ACallBackToANumberNeverSeenDialsExactlyThatNumber) {
    ASSERT_TRUE(bis([&] { return router->angemeldet(); }));
    for (const std::string nummer : {"01711234567", "0301234567890", "4799"}) {
        const int vorher = router->rueckrufe();
        ASSERT_TRUE(weiche->waehlen(nummer, "4712").id);
        ASSERT_TRUE(bis([&] { return router->rueckrufe() == vorher + 1; }));
        EXPECT_EQ(router->gewaehlt(), nummer);
    }
}

TEST(SipTreiberMacherTest, TheProgramsSipSourceRegistersAndWritesThroughItsMessageWriter) {
    auto router = std::make_unique<SipGegenstelle>("620", "geheim");
    std::vector<std::string> meldungen;
    const SipTreiberMacher macher = sipTreiberMacher();
    ASSERT_TRUE(macher);
    auto treiber = macher(SipKonto{router->adresse(), "620", "geheim"});
    treiber->meldungenAn([&](const std::string& m) { meldungen.push_back(m); });
    ASSERT_TRUE(treiber->starten());
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
    auto treiber = sipTreiberMacher()(SipKonto{router->adresse(), "620", "falsch"});
    treiber->meldungenAn([&](const std::string& m) { meldungen.push_back(m); });
    ASSERT_TRUE(treiber->starten());
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
