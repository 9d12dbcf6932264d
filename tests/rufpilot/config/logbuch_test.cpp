#include "rufpilot/config/logbuch.h"

#include <gtest/gtest.h>

#include "rufpilot/config/datenverzeichnis.h"
#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

using test::bytesLesen;
using test::bytesSchreiben;
using test::TempVerzeichnis;

TEST(Logbuch, DayFileNamesAreNotPadded) {
    EXPECT_EQ(logDateiname(2003, 12, 3), "2003-12-3.txt");
    EXPECT_EQ(logDateiname(2024, 1, 31), "2024-1-31.txt");
    EXPECT_EQ(logDateiname(999, 5, 6), "0999-5-6.txt");
}

TEST(Logbuch, LinesAreAppendedAsCp1252AndReadBackInFileOrder) {
    TempVerzeichnis dir;
    logZeileAnhaengen(dir.pfad(), 2003, 12, 3, "08:00:01\t0171\t222\t12345678\t3\tDTR\tja");
    logZeileAnhaengen(dir.pfad(), 2003, 12, 3, "08:10:00\t0172\t223\t6A1B2345\t4\tRTS\tnein");
    logZeileAnhaengen(dir.pfad(), 2003, 12, 3, "Grüße");
    logZeileAnhaengen(dir.pfad(), 2003, 12, 4, "am nächsten Tag");
    const auto datei = dir / "2003-12-3.txt";
    EXPECT_EQ(bytesLesen(datei),
              "08:00:01\t0171\t222\t12345678\t3\tDTR\tja\r\n08:10:00\t0172\t223\t6A1B2345\t4\tRTS\tnein\r\nGr\xFC\xDF"
              "e\r\n");
    EXPECT_EQ(logLesen(datei), (std::vector<std::string>{"08:00:01\t0171\t222\t12345678\t3\tDTR\tja",
                                                         "08:10:00\t0172\t223\t6A1B2345\t4\tRTS\tnein", "Grüße"}));
    EXPECT_EQ(logLesen(dir / "2003-12-4.txt"), std::vector<std::string>{"am nächsten Tag"});
}

TEST(Logbuch, ItemsEndAtCommasAndEmptyOnesAreDropped) {
    EXPECT_EQ(logAusText("a,b\r\n\r\nc,,\nd\re"), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(Logbuch, MissingDayFileReadsEmptyAndAnUnwritableDirectoryThrowsWithThePath) {
    TempVerzeichnis dir;
    EXPECT_TRUE(logLesen(dir / "2003-12-3.txt").empty());
    try {
        logZeileAnhaengen(dir / "gibt-es-nicht", 2003, 12, 3, "x");
        FAIL() << "no exception";
    } catch (const std::system_error& f) {
        EXPECT_NE(std::string(f.what()).find("2003-12-3.txt"), std::string::npos) << f.what();
    }
}

TEST(Logbuch, AHugeDayFileKeepsItsNewestWholeLines) {
    TempVerzeichnis dir;
    std::string gross;
    for (int i = 0; gross.size() <= kLogHoechstensBytes + 100; ++i) gross += "Zeile " + std::to_string(i) + "\r\n";
    bytesSchreiben(dir / "gross.txt", gross);
    const auto zeilen = logLesen(dir / "gross.txt");
    ASSERT_EQ(zeilen.size(), kLogHoechstensEintraege);
    const auto letzte = gross.substr(gross.rfind("Zeile", gross.size() - 3));
    EXPECT_EQ(zeilen.back() + "\r\n", letzte);
    EXPECT_EQ(zeilen.front().substr(0, 6), "Zeile ");
}

TEST(Datenverzeichnis, DirBeatsXdgBeatsHome) {
    EXPECT_EQ(datenverzeichnisWaehlen("/a/b", "/x", "/h"), "/a/b");
    EXPECT_EQ(datenverzeichnisWaehlen(std::nullopt, "/x", "/h"), "/x/rufpilot");
    EXPECT_EQ(datenverzeichnisWaehlen(std::nullopt, "relativ", "/h"), "/h/.config/rufpilot");
    EXPECT_EQ(datenverzeichnisWaehlen(std::nullopt, nullptr, "/h"), "/h/.config/rufpilot");
    EXPECT_EQ(datenverzeichnisWaehlen(std::nullopt, "", ""), "");
}

TEST(Datenverzeichnis, IsCreatedWithItsParentsAndItsLogs) {
    TempVerzeichnis dir;
    const auto daten = datenverzeichnis(dir / "tief/unten");
    EXPECT_TRUE(std::filesystem::is_directory(daten));
    EXPECT_TRUE(std::filesystem::is_directory(logverzeichnis(daten)));
    EXPECT_EQ(logverzeichnis(daten), daten / "Logs");
    bytesSchreiben(dir / "datei", "x");
    EXPECT_ANY_THROW(datenverzeichnis(dir / "datei"));
}

}  // namespace
}  // namespace rufpilot
