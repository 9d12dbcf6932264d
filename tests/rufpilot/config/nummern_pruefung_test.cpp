// The number table as it enters the gateway: what is taken, what is made
// right, and what is refused with the file's line named.
#include "rufpilot/config/nummern_pruefung.h"

#include <gtest/gtest.h>

#include "rufpilot/config/nummern_datei.h"

namespace rufpilot {
namespace {

constexpr const char* kDatei = "fms_telefon_leitung.dat";

struct Fall {
    const char* name;
    std::string inhalt;
    Nummerntabelle tabelle;
    std::vector<std::string> hinweise;
};

class NummernPruefung : public ::testing::TestWithParam<Fall> {};

TEST_P(NummernPruefung, TakesRefusesAndNames) {
    const Fall& f = GetParam();
    const Nummernpruefung p = nummernPruefen(f.inhalt, kDatei);
    EXPECT_EQ(p.tabelle, f.tabelle);
    EXPECT_EQ(p.hinweise, f.hinweise);
}

INSTANTIATE_TEST_SUITE_P(
    Dateien, NummernPruefung,
    ::testing::Values(
        Fall{"Sauber", "6A1B2345\t01711234567\tDTR\r\n\r\n12345678\t0301234\tRTS\r\n",
             {{"6A1B2345", "01711234567", "DTR"}, {}, {"12345678", "0301234", "RTS"}}, {}},
        // An editor saved it as UTF-8: the BOM is no part of the Kennung, umlauts stay.
        Fall{"Bom", "\xEF\xBB\xBF" "6A1B2346\t0171\tDTR\r\n12345678\t0172\tRTS\r\n",
             {{"6A1B2346", "0171", "DTR"}, {"12345678", "0172", "RTS"}}, {}},
        Fall{"KleineKennungWirdGross", "6a1b2345\t0171\tDTR\r\n", {{"6A1B2345", "0171", "DTR"}}, {}},
        Fall{"Trennzeichen", "6A1B2345\t0171/1234567\tDTR\r\n12345678\t0171 / 123-45\tRTS\r\n",
             {{"6A1B2345", "01711234567", "DTR"}, {"12345678", "017112345", "RTS"}}, {}},
        Fall{"Abgelehnt",
             "XYZ\t0171\tDTR\r\nnur\tzwei\r\n6A1B2345\tAnna\tDTR\r\n1234567G\t0171\tRTS\r\n12345678\t0301\tDTR\r\n",
             {{"12345678", "0301", "DTR"}},
             {"fms_telefon_leitung.dat Zeile 1:\tFMS-Kennung \"XYZ\" ist nicht 8-stellig hexadezimal, nicht übernommen",
              "fms_telefon_leitung.dat Zeile 2:\tweniger als drei Felder, nicht übernommen",
              "fms_telefon_leitung.dat Zeile 3:\tTelefonnummer \"Anna\" ist keine Rufnummer, nicht übernommen",
              "fms_telefon_leitung.dat Zeile 4:\tFMS-Kennung \"1234567G\" ist nicht 8-stellig hexadezimal, "
              "nicht übernommen"}},
        Fall{"FremdeLeitung", "6A1B2345\t0171\tdtr\r\n", {{"6A1B2345", "0171", "dtr"}},
             {"fms_telefon_leitung.dat Zeile 1:\tLeitung \"dtr\" ist weder DTR noch RTS, getastet wird RTS"}}),
    [](const auto& fall) { return std::string(fall.param.name); });

TEST(NummernPruefungGrenzen, RecordsBeyondTheLimitAreNamed) {
    std::string gross;
    for (std::size_t i = 0; i < kNummernHoechstensEintraege + 5; ++i) gross += "12345678\t0171\tDTR\r\n";
    const Nummernpruefung p = nummernPruefen(gross, kDatei);
    EXPECT_EQ(p.tabelle.size(), kNummernHoechstensEintraege);
    ASSERT_EQ(p.hinweise.size(), 1u);
    EXPECT_EQ(p.hinweise[0], "fms_telefon_leitung.dat ab Zeile 10001:\tnicht gelesen, höchstens 10000 Einträge");
}

TEST(NummernPruefungGrenzen, EntriesTypedIntoTheDialog) {
    EXPECT_FALSE(kennungFehler("6A1B2345"));
    EXPECT_FALSE(kennungFehler("6a1b2345"));
    EXPECT_EQ(kennungGross("6a1b2345"), "6A1B2345");
    for (const char* schlecht : {"XYZXYZXY", "6A1B234", "6A1B23456", "6A1B 234", ""})
        EXPECT_TRUE(kennungFehler(schlecht)) << schlecht;
    EXPECT_EQ(telefonNormalisiert("0171/1234567"), "01711234567");
    EXPECT_EQ(telefonNormalisiert("+49 (30) 123.45"), "+493012345");
    for (const char* schlecht : {"", "+", "/ -", "0171x", "01+71", "Unbekannt"})
        EXPECT_FALSE(telefonNormalisiert(schlecht)) << schlecht;
    EXPECT_TRUE(msnGueltig("4711"));
    EXPECT_TRUE(msnGueltig(""));
    EXPECT_FALSE(msnGueltig("47a1"));
    EXPECT_FALSE(msnGueltig("47 11"));
}

}  // namespace
}  // namespace rufpilot
