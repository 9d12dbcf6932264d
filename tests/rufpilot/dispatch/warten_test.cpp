// The waits on simulated time: acknowledgement windows, the 40 ms steps and
// the call-back countdown.
#include <gtest/gtest.h>

#include "vermittlung_umgebung.h"

namespace rufpilot {
namespace {

using test::Vermittlungsumgebung;

tonwerk::FmsTlgType telegramm(const std::string& kennung, tonwerk::Integer richtung, tonwerk::Integer status) {
    tonwerk::FmsTlgType r;
    r.Kennung = kennung;
    r.Richtung = richtung;
    r.Status = status;
    return r;
}

// Raises the telegram handler once, `nachMs` from now.
void spaeter(Vermittlungsumgebung& u, std::int64_t nachMs, tonwerk::FmsTlgType r) {
    auto& t = u.zeit.timer();
    t.aktivieren(static_cast<int>(nachMs), [&u, &t, r]() mutable {
        t.deaktivieren();
        u.v.FMSDecodierung(r);
    });
}

TEST(Quittung, AnAcknowledgementAfter500MsEndsTheWait) {
    Vermittlungsumgebung u;
    spaeter(u, 500, telegramm("6A1B2345", 1, 15));
    const auto start = u.zeit.monotonMs();
    EXPECT_TRUE(u.v.quittung().QuittungAbwarten("6A1B2345", 1));
    EXPECT_LE(u.zeit.monotonMs() - start, 560);
    EXPECT_EQ(u.ui.meldungen.back(), "Quittung für 6A1B2345\tvon Leitstelle");
    EXPECT_EQ(u.v.quittung().quittungsKennung(), "");
}

TEST(Quittung, OnlyAnAnswerToTheVehicleWithStatus14OrMoreCounts) {
    Vermittlungsumgebung u;
    auto r = telegramm("6A1B2345", 1, 13);
    u.v.FMSDecodierung(r);
    r = telegramm("6A1B2345", 0, 15);
    u.v.FMSDecodierung(r);
    EXPECT_EQ(u.v.quittung().quittungsKennung(), "");
    r = telegramm("6A1B2345", 1, 14);
    u.v.FMSDecodierung(r);
    EXPECT_EQ(u.v.quittung().quittungsKennung(), "6A1B2345");
    // A late acknowledgement does not end the next wait.
    EXPECT_FALSE(u.v.quittung().QuittungAbwarten("6A1B2345", 1));
}

TEST(Quittung, WithoutAnswerTheWaitEndsAfterASecondEvenAcrossMidnight) {
    Vermittlungsumgebung u({2026, 12, 8, 23, 59, 59, 500});
    const auto start = u.zeit.monotonMs();
    EXPECT_FALSE(u.v.quittung().QuittungAbwarten("6A1B2345", 1));
    const auto dauer = u.zeit.monotonMs() - start;
    EXPECT_GT(dauer, 1000);
    EXPECT_LE(dauer, 1060);
    EXPECT_EQ(u.ui.meldungen.back(), "keine Quittung1 von Lst\t0,55");
}

TEST(Warten, ZeroMakesOneStepAndShowsNoCountdown) {
    Vermittlungsumgebung u;
    const auto start = u.zeit.monotonMs();
    u.v.rueckrufer().Warten(0, 0);
    EXPECT_EQ(u.zeit.monotonMs() - start, 40);
    ASSERT_EQ(u.ui.countdowns.size(), 1u);
    EXPECT_FALSE(u.ui.countdowns[0].sichtbar);
}

TEST(Rueckruf, WithZeroSecondsTheCountdownShowsOnceAndTheCallFollows) {
    Vermittlungsumgebung u;
    u.v.rueckrufer().rueckrufnummer("01701234567");
    const auto start = u.zeit.monotonMs();
    u.v.rueckrufer().Rueckruf("0151999", "222", 0);
    EXPECT_EQ(u.ui.meldungen.back(), "Wähle 0151999\t MSN=222");
    ASSERT_EQ(u.ui.countdowns.size(), 2u);
    EXPECT_TRUE(u.ui.countdowns[0].sichtbar);
    EXPECT_EQ(u.ui.countdowns[0].text, "Eingang: 0 Sek. bis Rückrufstart an: 01701234567");
    EXPECT_FALSE(u.ui.countdowns[1].sichtbar);
    ASSERT_EQ(u.waehler.anrufe.size(), 1u);
    EXPECT_EQ(u.waehler.anrufe[0].ms - start, 40);
    EXPECT_EQ(u.waehler.anrufe[0].nummer, "0151999");
}

TEST(Rueckruf, TheCountdownCountsWholeSecondsDown) {
    Vermittlungsumgebung u;
    u.v.rueckrufer().rueckrufnummer("0301234");
    const auto start = u.zeit.monotonMs();
    u.v.rueckrufer().Rueckruf("0301234", "111", 2);
    std::vector<std::string> texte;
    for (const auto& c : u.ui.countdowns)
        if (c.sichtbar && (texte.empty() || texte.back() != c.text)) texte.push_back(c.text);
    EXPECT_EQ(texte, (std::vector<std::string>{"Eingang: 2 Sek. bis Rückrufstart an: 0301234",
                                               "Eingang: 1 Sek. bis Rückrufstart an: 0301234",
                                               "Eingang: 0 Sek. bis Rückrufstart an: 0301234"}));
    EXPECT_EQ(u.waehler.anrufe.at(0).ms - start, 2040);
}

}  // namespace
}  // namespace rufpilot
