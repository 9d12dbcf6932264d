#include "rufpilot/config/einstellungen_datei.h"

#include <gtest/gtest.h>

#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

using test::bytesLesen;
using test::bytesSchreiben;
using test::TempVerzeichnis;

TEST(EinstellungenDatei, WritesEightCrLfLinesWithASpaceBeforeNonNegativeNumbers) {
    Einstellungen e;
    e.comPort = 3;
    e.pegelumkehr = 1;
    e.baustufe = 2;
    e.tki = 0;
    e.fmsVorlaufMs = -250;
    e.msnListe = "111;Zürich;";
    e.soundkarte = 1;
    e.abtastrate = 2;
    TempVerzeichnis dir;
    einstellungenSchreiben(dir / "server.ini", e);
    EXPECT_EQ(bytesLesen(dir / "server.ini"), " 3\r\n 1\r\n 2\r\n 0\r\n-250\r\n111;Z\xFCrich;\r\n 1\r\n 2\r\n");
    EXPECT_EQ(einstellungenLesen(dir / "server.ini"), e);
}

TEST(EinstellungenDatei, RewritingReplacesTheWholeFile) {
    TempVerzeichnis dir;
    bytesSchreiben(dir / "server.ini", std::string(5000, 'x'));
    einstellungenSchreiben(dir / "server.ini", Einstellungen{});
    EXPECT_EQ(bytesLesen(dir / "server.ini"), " 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n\r\n 0\r\n 0\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "server.ini.neu"));
}

TEST(EinstellungenDatei, ALineBreakInTheMsnListDoesNotShiftTheLinesAfterIt) {
    Einstellungen e;
    e.msnListe = "111;\r\n222;";
    e.soundkarte = 4;
    EXPECT_EQ(einstellungenAusText(einstellungenAlsText(e)).soundkarte, 4);
}

TEST(EinstellungenDatei, MissingFileGivesDefaultsAndAFailedWriteNamesTheFile) {
    TempVerzeichnis dir;
    EXPECT_EQ(einstellungenLesen(dir / "server.ini"), Einstellungen{});
    EXPECT_EQ(einstellungenLesen(dir.pfad()), Einstellungen{});  // a directory is no file
    try {
        einstellungenSchreiben(dir / "fehlt" / "server.ini", Einstellungen{});
        FAIL() << "no exception";
    } catch (const std::system_error& f) {
        EXPECT_NE(std::string(f.what()).find("server.ini"), std::string::npos) << f.what();
    }
}

TEST(EinstellungenDatei, ComPortThreeWithoutInversionAndZeroBecomesOne) {
    const auto e = einstellungenAusText(" 3\r\n 0\r\n");
    EXPECT_EQ(e.comPort, 3);
    EXPECT_EQ(e.pegelumkehr, 0);
    EXPECT_EQ(einstellungenAusText(" 0\r\n 1\r\n").comPort, 1);
    EXPECT_EQ(einstellungenAusText("\r\n").comPort, 1);
}

TEST(EinstellungenDatei, NumbersAreTheLeadingDecimalNumberOfTheirLine) {
    const auto e = einstellungenAusText("  4  \r\n-1x\r\n2 Baustufe\r\nabc\r\n 7.5\r\nMSN\r\n 6.5\r\n- 2\r\n");
    EXPECT_EQ(e.comPort, 4);
    EXPECT_EQ(e.pegelumkehr, -1);
    EXPECT_EQ(e.baustufe, 2);
    EXPECT_EQ(e.tki, 0);           // no number
    EXPECT_EQ(e.fmsVorlaufMs, 8);  // halves round to even
    EXPECT_EQ(e.soundkarte, 6);
    EXPECT_EQ(e.abtastrate, -2);
}

TEST(EinstellungenDatei, MsnLineIsTakenWholeAndLaterLinesIgnored) {
    const auto e = einstellungenAusText(" 1\r\n 0\r\n 0\r\n 0\r\n 0\r\n 111 ; 222;\xE4\r\n 1\r\n 2\r\n 3\r\n 4\r\n");
    EXPECT_EQ(e.msnListe, " 111 ; 222;ä");
    EXPECT_EQ(e.abtastrate, 2);
}

TEST(EinstellungenDatei, MalformedInputLeavesDefaultsWhereItFallsShort) {
    Einstellungen erwartet;
    erwartet.comPort = 2;
    erwartet.pegelumkehr = 1;
    EXPECT_EQ(einstellungenAusText(" 2\r\n 1"), erwartet);  // short file, no final line end
    // A number that does not fit in 16 bits keeps that one setting's default.
    const auto gross = einstellungenAusText("99999999999999999999\r\n-32769\r\n 32767\r\n-32768\r\n");
    EXPECT_EQ(gross.comPort, 1);
    EXPECT_EQ(gross.pegelumkehr, 0);
    EXPECT_EQ(gross.baustufe, 32767);
    EXPECT_EQ(gross.tki, -32768);
    // LF only, and a lone CR, end lines as well.
    const auto lf = einstellungenAusText("3\n1\r2\n0\n100\n111;\n1\n1\n");
    EXPECT_EQ(lf.comPort, 3);
    EXPECT_EQ(lf.pegelumkehr, 1);
    EXPECT_EQ(lf.baustufe, 2);
    EXPECT_EQ(lf.msnListe, "111;");
    EXPECT_EQ(lf.abtastrate, 1);
    // Binary garbage with NUL bytes reads without harm.
    const std::string muell("\x00\xFF\x80\r\x00\x12\n\n\n\n\xFE\x00;\n", 14);
    EXPECT_EQ(einstellungenAusText(muell).comPort, 1);
    EXPECT_EQ(einstellungenAusText(muell).msnListe, std::string("\xC3\xBE\x00;", 4));
}

TEST(EinstellungenDatei, AHugeFileIsReadOnlyAsFarAsNeeded) {
    TempVerzeichnis dir;
    std::string gross = " 4\r\n 1\r\n";
    gross += std::string(8 * 1024 * 1024, '7');
    bytesSchreiben(dir / "server.ini", gross);
    const auto e = einstellungenLesen(dir / "server.ini");
    EXPECT_EQ(e.comPort, 4);
    EXPECT_EQ(e.pegelumkehr, 1);
    EXPECT_EQ(e.baustufe, 0);  // far too big: default
}

}  // namespace
}  // namespace rufpilot
