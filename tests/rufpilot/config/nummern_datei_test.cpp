#include "rufpilot/config/nummern_datei.h"

#include <gtest/gtest.h>

#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

using test::bytesLesen;
using test::bytesSchreiben;
using test::TempVerzeichnis;

const Nummerneintrag kErster{"12345678", "01711234567", "DTR"};
const Nummerneintrag kZweiter{"6A1B2345", "0301234", "RTS"};

TEST(NummernDatei, AnEmptyLineBetweenTwoRecordsKeepsItsPlace) {
    const auto t = nummernAusText("12345678\t01711234567\tDTR\r\n\r\n6A1B2345\t0301234\tRTS\r\n");
    EXPECT_EQ(t, (Nummerntabelle{kErster, Nummerneintrag{}, kZweiter}));
}

TEST(NummernDatei, RecordsEndAtACommaAndNeedThreeFields) {
    const auto t = nummernAusText(
        "12345678\t01711234567\tDTR,Bemerkung\r\n"  // the rest after the comma is no record
        "nur\tzwei\r\n"                             // invalid: left out, the next moves up
        "6A1B2345\t0301234\tRTS\tmehr\r\n"          // a fourth field is ignored
        "a\tb,\tc\r\n");                            // the comma leaves two fields
    EXPECT_EQ(t, (Nummerntabelle{kErster, kZweiter}));
}

TEST(NummernDatei, ToleratesOtherLineEndsAndAMissingFinalOne) {
    EXPECT_EQ(nummernAusText("12345678\t01711234567\tDTR\n6A1B2345\t0301234\tRTS"), (Nummerntabelle{kErster, kZweiter}));
    EXPECT_EQ(nummernAusText("12345678\t01711234567\tDTR\r6A1B2345\t0301234\tRTS\r"), (Nummerntabelle{kErster, kZweiter}));
    EXPECT_TRUE(nummernAusText("").empty());
    EXPECT_EQ(nummernAusText("\r\n\r\n").size(), 2u);
}

TEST(NummernDatei, MissingFileIsTellingAndAnEmptyFileIsAnEmptyTable) {
    TempVerzeichnis dir;
    EXPECT_FALSE(nummernLesen(dir / "fms_telefon_leitung.dat").has_value());
    bytesSchreiben(dir / "fms_telefon_leitung.dat", "");
    const auto t = nummernLesen(dir / "fms_telefon_leitung.dat");
    ASSERT_TRUE(t.has_value());
    EXPECT_TRUE(t->empty());
}

TEST(NummernDatei, AppendCreatesTheFileAndEndsItWithTheRecord) {
    TempVerzeichnis dir;
    const auto datei = dir / "fms_telefon_leitung.dat";
    nummerAnhaengen(datei, kErster);
    nummerAnhaengen(datei, Nummerneintrag{"Müller12", "0171", "RTS"});
    EXPECT_EQ(bytesLesen(datei), "12345678\t01711234567\tDTR\r\nM\xFCller12\t0171\tRTS\r\n");
    EXPECT_EQ(nummernLesen(datei)->back().kennung, "Müller12");
}

TEST(NummernDatei, AppendAfterALastLineWithoutEndKeepsBothRecords) {
    TempVerzeichnis dir;
    const auto datei = dir / "fms_telefon_leitung.dat";
    bytesSchreiben(datei, "12345678\t01711234567\tDTR");
    nummerAnhaengen(datei, kZweiter);
    EXPECT_EQ(*nummernLesen(datei), (Nummerntabelle{kErster, kZweiter}));
}

TEST(NummernDatei, RewriteHoldsExactlyTheRowsInOrder) {
    TempVerzeichnis dir;
    const auto datei = dir / "fms_telefon_leitung.dat";
    bytesSchreiben(datei, "alt\talt\talt\r\nalt\talt\talt\r\nalt\talt\talt\r\n");
    nummernSchreiben(datei, {kZweiter, kErster});
    EXPECT_EQ(bytesLesen(datei), "6A1B2345\t0301234\tRTS\r\n12345678\t01711234567\tDTR\r\n");
    nummernSchreiben(datei, {});
    EXPECT_EQ(bytesLesen(datei), "");
}

TEST(NummernDatei, AFieldThatWouldNotReadBackIsRefusedAndTheFileKept) {
    TempVerzeichnis dir;
    const auto datei = dir / "fms_telefon_leitung.dat";
    nummerAnhaengen(datei, kErster);
    for (const char* schlecht : {"a,b", "a\tb", "a\r\nb"}) {
        EXPECT_THROW(nummerAnhaengen(datei, Nummerneintrag{"12345678", schlecht, "DTR"}), std::invalid_argument);
        EXPECT_THROW(nummernSchreiben(datei, {kZweiter, Nummerneintrag{schlecht, "1", "DTR"}}), std::invalid_argument);
    }
    EXPECT_EQ(*nummernLesen(datei), Nummerntabelle{kErster});
}

TEST(NummernDatei, GarbageReadsWithoutHarm) {
    const std::string muell("\x00\t\xFF\t\x81\r\n\t\t\n\x00\x00", 12);
    const auto t = nummernAusText(muell);
    // The last line has a single field and is left out.
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], (Nummerneintrag{std::string(1, '\0'), "ÿ", "\xC2\x81"}));
    EXPECT_EQ(t[1], Nummerneintrag{});
}

TEST(NummernDatei, AHugeFileStopsAtTheRecordLimit) {
    std::string gross;
    for (int i = 0; i < 20000; ++i) gross += "12345678\t0171\tDTR\r\n";
    EXPECT_EQ(nummernAusText(gross).size(), kNummernHoechstensEintraege);
    TempVerzeichnis dir;
    bytesSchreiben(dir / "gross.dat", std::string(6 * 1024 * 1024, '\t'));
    EXPECT_EQ(nummernLesen(dir / "gross.dat")->size(), 1u);
}

}  // namespace
}  // namespace rufpilot
