// Matching a call: number table first entry wins, whole-text comparison
// without regard to letter case, MSN slots giving the status.
#include <gtest/gtest.h>

#include "rufpilot/dispatch/msn_tabelle.h"
#include "rufpilot/dispatch/textvergleich.h"
#include "vermittlung_umgebung.h"

namespace rufpilot {
namespace {

using test::Vermittlungsumgebung;

const std::string kNichtErkannt = "Gesamtergebnis: Eingehende Rufnummer oder MSN NICHT erkannt";

TEST(Abgleich, EveryComparisonIsWrittenAndARecognisedCallIsSent) {
    Vermittlungsumgebung u;
    const auto ab = u.ui.meldungen.size();
    u.v.RufPruefen("0301234", "111");
    const auto m = u.ui.meldungenAb(ab);
    const std::vector<std::string> erwartet{"Prüfung 1:\tTelefonnummer",
                                            "<0301234> mit\t<01701234567>",
                                            "Ergebnis:\tkeine Übereinstimmung!",
                                            "<0301234> mit\t<0301234>",
                                            "Übereinstimmung!\tFMS-Kennung: 6A1B9999",
                                            "Prüfung 2:\tMSN",
                                            "<111> mit\t<111>",
                                            "Übereinstimmung!\tMSN=1",
                                            "Anruf erkannt\tund zugeordnet",
                                            "Sende FMS 6A1B9999\t Status=1"};
    ASSERT_GE(m.size(), erwartet.size());
    EXPECT_EQ(std::vector<std::string>(m.begin(), m.begin() + static_cast<std::ptrdiff_t>(erwartet.size())),
              erwartet);
}

TEST(Abgleich, TheFirstOfTwoEntriesWithTheCallersNumberWins) {
    Vermittlungsumgebung u;
    u.nummern.push_back({"6A1B7777", "0301234", "DTR"});
    u.v.RufPruefen("0301234", "111");
    ASSERT_EQ(u.ui.listen[Liste::Anrufe].size(), 1u);
    EXPECT_EQ(u.ui.listen[Liste::Anrufe][0].substr(9), "0301234\t111\t6A1B9999\t1\tRTS\tnein");
}

TEST(Abgleich, LetterCaseIsIgnoredButPrefixAndSuffixDoNotMatch) {
    EXPECT_TRUE(gleichOhneGrossschreibung("0800abc", "0800ABC"));
    EXPECT_TRUE(gleichOhneGrossschreibung("Ärztin", "äRZTIN"));
    EXPECT_FALSE(gleichOhneGrossschreibung("0800AB", "0800abc"));
    EXPECT_FALSE(gleichOhneGrossschreibung("0800abcd", "0800abc"));
    EXPECT_FALSE(gleichOhneGrossschreibung("1", "2"));

    Vermittlungsumgebung u;
    u.nummern = {{"6A1B2345", "sip:Wache", "DTR"}};
    u.v.RufPruefen("SIP:WACHE", "111");
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].size(), 1u);
    u.v.RufPruefen("sip:Wach", "111");
    u.v.RufPruefen("sip:Wache1", "111");
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].size(), 1u);
}

TEST(Abgleich, TheMsnsSlotGivesTheStatus) {
    Vermittlungsumgebung u;
    u.v.RufPruefen("0301234", "222");
    EXPECT_TRUE(u.ui.gemeldet("Übereinstimmung!\tMSN=2"));
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].at(0).substr(9), "0301234\t222\t6A1B9999\t2\tRTS\tnein");
    // An empty MSN is the first empty slot: the fourth.
    u.v.RufPruefen("0301234", "");
    EXPECT_EQ(u.ui.listen[Liste::Anrufe].at(0).substr(9), "0301234\t\t6A1B9999\t4\tRTS\tnein");
}

TEST(Abgleich, AnUnknownCallerOrMsnSendsNothing) {
    Vermittlungsumgebung u;
    auto ab = u.ui.meldungen.size();
    u.v.RufPruefen("0301234", "999");
    auto m = u.ui.meldungenAb(ab);
    EXPECT_EQ(m.back(), kNichtErkannt);
    EXPECT_EQ(std::count(m.begin(), m.end(), "Ergebnis 1:\tRufnummer unbekannt"), 0);

    ab = u.ui.meldungen.size();
    u.v.RufPruefen("0309999", "111");
    m = u.ui.meldungenAb(ab);
    EXPECT_EQ(m.back(), kNichtErkannt);
    EXPECT_EQ(std::count(m.begin(), m.end(), "Ergebnis 1:\tRufnummer unbekannt"), 1);
    EXPECT_EQ(std::count(m.begin(), m.end(), "Prüfung 2:\tMSN"), 1) << "the MSN check runs in any case";

    EXPECT_TRUE(u.ausgabe.gesendet.empty());
    EXPECT_TRUE(u.ui.listen[Liste::Anrufe].empty());
    EXPECT_TRUE(u.logZeilen().empty());
}

TEST(Abgleich, AWithheldNumberDoesNotMatchAnEmptyRecord) {
    Vermittlungsumgebung u;
    u.nummern.insert(u.nummern.begin(), Nummerneintrag{});
    u.einstellungen.msnListe = "111;;";
    u.v.MsnListeLaden();
    u.v.RufPruefen("", "");
    EXPECT_TRUE(u.ui.gemeldet("Ergebnis 1:\tRufnummer unbekannt"));
    EXPECT_TRUE(u.ausgabe.gesendet.empty());
}

TEST(Abgleich, MsnListFillsTheSlotsInOrder) {
    MsnTabelle t;
    EXPECT_TRUE(msnListeZerlegen("111;222;;;;;;;;", t));
    EXPECT_EQ(t[0], "111");
    EXPECT_EQ(t[1], "222");
    for (std::size_t i = 2; i < t.size(); ++i) EXPECT_EQ(t[i], "") << i;

    EXPECT_TRUE(msnListeZerlegen("1;2;3;4;5;6;7;8;9;10;11", t));
    EXPECT_EQ(t[8], "9");
    EXPECT_EQ(t[9], "") << "fields beyond the ninth are ignored";

    Vermittlungsumgebung u;
    u.einstellungen.msnListe = "111";
    EXPECT_FALSE(u.v.MsnListeLaden());
    EXPECT_EQ(u.ui.meldungen.back(), "Noch keine MSN vergeben !");
    for (const auto& slot : u.v.msnTabelle()) EXPECT_EQ(slot, "");
}

}  // namespace
}  // namespace rufpilot
