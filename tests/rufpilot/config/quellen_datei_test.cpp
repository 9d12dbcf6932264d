// The call source's files beside server.ini: round trip, broken files, the
// private password file.
#include "rufpilot/config/quellen_datei.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/textdatei.h"
#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

unsigned modus(const std::filesystem::path& datei) {
    struct stat info {};
    EXPECT_EQ(::stat(datei.c_str(), &info), 0) << datei;
    return info.st_mode & 0777;
}

Quelleneinstellungen beispiel() {
    Quelleneinstellungen q;
    q.art = Quellenart::Anrufmonitor;
    q.sip = {"fritz.box:5060", "620", "geheim; mit = Zeichen"};
    q.monitorHost = "192.168.178.1";
    q.monitorPort = 1012;
    return q;
}

TEST(QuellenDateiTest, RoundTripLeavesServerIniAloneAndThePasswordPrivate) {
    test::TempVerzeichnis tmp;
    Einstellungen e;
    e.msnListe = "4711;;;;;;;;;";
    einstellungenSchreiben(tmp / "server.ini", e);
    const auto vorher = dateiAnfangLesen(tmp / "server.ini", 4096);

    for (Quellenart art : {Quellenart::Capi, Quellenart::Sip, Quellenart::Anrufmonitor}) {
        Quelleneinstellungen q = beispiel();
        q.art = art;
        quellenSchreiben(tmp.pfad(), q);
        const Quellenlesung l = quellenLesen(tmp.pfad());
        EXPECT_EQ(l.werte, q);
        EXPECT_THAT(l.hinweise, IsEmpty());
    }
    EXPECT_EQ(modus(tmp / kPasswortdatei), 0600u);
    EXPECT_EQ(dateiAnfangLesen(tmp / "server.ini", 4096), vorher);
    // The password is nowhere else.
    EXPECT_THAT(*dateiAnfangLesen(tmp / kQuellendatei, 4096), ::testing::Not(HasSubstr("geheim")));
    // No temporary file is left behind.
    int dateien = 0;
    for ([[maybe_unused]] const auto& d : std::filesystem::directory_iterator(tmp.pfad())) ++dateien;
    EXPECT_EQ(dateien, 3);
}

TEST(QuellenDateiTest, MissingFilesGiveTheDefaults) {
    test::TempVerzeichnis tmp;
    const Quellenlesung l = quellenLesen(tmp.pfad());
    EXPECT_EQ(l.werte, Quelleneinstellungen{});
    EXPECT_EQ(l.werte.art, Quellenart::Capi);
    EXPECT_THAT(l.hinweise, IsEmpty());
}

TEST(QuellenDateiTest, ABrokenFileKeepsWhatIsGoodSaysWhatIsNotAndIsSavedAside) {
    test::TempVerzeichnis tmp;
    const std::string kaputt =
        "quelle=anrufmonitor\nmonitor_host=fritz.box\r\nmonitor_port=99999\n\x01\x02\xff\nregistrar=a b\n"
        "# comment\n\nbenutzer=620\nquelle=isdn\n";
    {
        std::ofstream(tmp / kQuellendatei, std::ios::binary) << kaputt;
    }
    const Quellenlesung l = quellenLesen(tmp.pfad());
    EXPECT_EQ(l.werte.art, Quellenart::Anrufmonitor);
    EXPECT_EQ(l.werte.monitorHost, "fritz.box");
    EXPECT_EQ(l.werte.monitorPort, 1012);
    EXPECT_EQ(l.werte.sip.benutzer, "620");
    EXPECT_EQ(l.werte.sip.registrar, "");
    EXPECT_THAT(l.hinweise, ElementsAre("rufquelle.ini: Zeile 3 nicht verstanden, Standardwert bleibt",
                                        "rufquelle.ini: Zeile 4 nicht verstanden, Standardwert bleibt",
                                        "rufquelle.ini: Zeile 5 nicht verstanden, Standardwert bleibt",
                                        "rufquelle.ini: Zeile 9 nicht verstanden, Standardwert bleibt",
                                        "rufquelle.ini fehlerhaft:\tgesichert als rufquelle.ini.defekt"));
    EXPECT_EQ(dateiAnfangLesen(tmp / "rufquelle.ini.defekt", 4096), kaputt);
}

TEST(QuellenDateiTest, APasswordFileOthersCanReadIsMadePrivate) {
    test::TempVerzeichnis tmp;
    {
        std::ofstream(tmp / kPasswortdatei, std::ios::binary) << "geheim\r\nRest";
    }
    ::chmod((tmp / kPasswortdatei).c_str(), 0644);
    const Quellenlesung l = quellenLesen(tmp.pfad());
    EXPECT_EQ(l.werte.sip.passwort, "geheim");
    EXPECT_THAT(l.hinweise, ElementsAre("sip_passwort war für andere lesbar:\tRechte auf 0600 gesetzt"));
    EXPECT_EQ(modus(tmp / kPasswortdatei), 0600u);
    // Rewriting an existing wider file leaves it private too.
    ::chmod((tmp / kPasswortdatei).c_str(), 0666);
    quellenSchreiben(tmp.pfad(), beispiel());
    EXPECT_EQ(modus(tmp / kPasswortdatei), 0600u);
}

TEST(QuellenDateiTest, AnUnwritableDirectoryThrowsNamingTheFile) {
    test::TempVerzeichnis tmp;
    EXPECT_THROW(quellenSchreiben(tmp / "fehlt", beispiel()), std::system_error);
}

}  // namespace
}  // namespace rufpilot
