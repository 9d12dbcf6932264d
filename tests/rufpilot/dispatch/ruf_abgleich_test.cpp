// The matcher as a pure function, from a table: which calls match, with
// which entry and status, and the message lines each comparison writes.
#include "rufpilot/dispatch/ruf_abgleich.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace rufpilot {
namespace {

const Nummerntabelle kNummern{
    {"6A1B1111", "01701234567", "DTR"},
    {"6A1B2222", "0301234", "RTS"},
    {"6A1B3333", "0301234", "DTR"},  // a second entry with the same number never wins
    {"6A1B4444", "sip:Wache", "RTS"},
    {"6A1B5555", "+49221555", "DTR"},  // as typed in the file, with the country code
};

MsnTabelle Msns(const std::string& liste) {
    MsnTabelle t;
    msnListeZerlegen(liste, t);
    return t;
}

struct Fall {
    const char* name;
    std::string anrufer, msn, msnListe;
    std::string kennung;  // empty: no match
    int status;
    std::string msnSlot;
};

TEST(RufAbgleich, WhichCallsMatchWithWhichEntryAndStatus) {
    const Fall faelle[] = {
        {"first entry, first slot", "01701234567", "111", "111;222;;;;;;;;", "6A1B1111", 1, "111"},
        {"the first of two entries wins", "0301234", "222", "111;222;;;;;;;;", "6A1B2222", 2, "222"},
        {"letter case is ignored", "SIP:WACHE", "111", "111;;", "6A1B4444", 1, "111"},
        {"a prefix does not match", "sip:Wach", "111", "111;;", "", 0, ""},
        {"a suffix does not match", "sip:Wache1", "111", "111;;", "", 0, ""},
        {"the MSN's slot is the status", "0301234", "999", "1;2;3;4;5;6;7;8;999", "6A1B2222", 9, "999"},
        {"an unknown MSN", "0301234", "333", "111;222;;;;;;;;", "", 0, ""},
        {"an unknown caller", "0309999", "111", "111;222;;;;;;;;", "", 0, ""},
        {"an empty MSN is the first empty slot", "0301234", "", "111;222;;;;;;;;", "6A1B2222", 3, ""},
        {"a withheld number never matches an empty record", "", "", ";;", "", 0, ""},
        // Table and callers meet in the one form of every source.
        {"an entry with +49 meets the national caller", "0221555", "111", "111;;", "6A1B5555", 1, "111"},
        {"a caller with +49 meets the national entry", "+49301234", "111", "111;;", "6A1B2222", 1, "111"},
        {"a caller with 0049 meets the national entry", "0049301234", "111", "111;;", "6A1B2222", 1, "111"},
        {"another country is another number", "+43301234", "111", "111;;", "", 0, ""},
        {"no prefix match in the one form", "+4930123", "111", "111;;", "", 0, ""},
        {"no digit is put in front", "301234", "111", "111;;", "", 0, ""},
        {"texts that are no numbers keep their separators", "sip:Wa-che", "111", "111;;", "", 0, ""},
    };
    Nummerntabelle mitLeerem = kNummern;
    mitLeerem.insert(mitLeerem.begin(), Nummerneintrag{});
    for (const Fall& f : faelle) {
        const RufAbgleich a = rufAbgleichen(f.anrufer, f.msn, mitLeerem, Msns(f.msnListe));
        ASSERT_EQ(a.treffer.has_value(), !f.kennung.empty()) << f.name;
        ASSERT_FALSE(a.meldungen.empty()) << f.name;
        if (!a.treffer) {
            EXPECT_EQ(a.meldungen.back(), "Gesamtergebnis: Eingehende Rufnummer oder MSN NICHT erkannt") << f.name;
            continue;
        }
        EXPECT_EQ(a.treffer->eintrag.kennung, f.kennung) << f.name;
        EXPECT_EQ(a.treffer->status, f.status) << f.name;
        EXPECT_EQ(a.treffer->msn, f.msnSlot) << f.name;
        EXPECT_EQ(a.meldungen.back(), "Anruf erkannt\tund zugeordnet") << f.name;
    }
}

TEST(RufAbgleich, EveryComparisonIsALineInOrder) {
    const RufAbgleich a = rufAbgleichen("0301234", "222", kNummern, Msns("111;222;;;;;;;;"));
    EXPECT_EQ(a.meldungen, (std::vector<std::string>{"Prüfung 1:\tTelefonnummer",
                                                     "<0301234> mit\t<01701234567>",
                                                     "Ergebnis:\tkeine Übereinstimmung!",
                                                     "<0301234> mit\t<0301234>",
                                                     "Übereinstimmung!\tFMS-Kennung: 6A1B2222",
                                                     "Prüfung 2:\tMSN",
                                                     "<222> mit\t<111>",
                                                     "Ergebnis:\tkeine Übereinstimmung!",
                                                     "<222> mit\t<222>",
                                                     "Übereinstimmung!\tMSN=2",
                                                     "Anruf erkannt\tund zugeordnet"}));
    // An unknown caller is said once; the MSN check runs all the same, over
    // all nine slots.
    const RufAbgleich b = rufAbgleichen("0309999", "888", kNummern, Msns("111;;"));
    EXPECT_EQ(std::count(b.meldungen.begin(), b.meldungen.end(), "Ergebnis 1:\tRufnummer unbekannt"), 1);
    EXPECT_EQ(std::count(b.meldungen.begin(), b.meldungen.end(), "Ergebnis:\tkeine Übereinstimmung!"),
              static_cast<long>(kNummern.size()) + kMsnSlots);
    EXPECT_EQ(b.meldungen.size(), 1 + 2 * kNummern.size() + 1 + 1 + 2 * kMsnSlots + 1);
}

}  // namespace
}  // namespace rufpilot
