// The application core as the window drives it: start-up order, the
// one-second tick, shut-down, in a simulated world.
#include "rufpilot/dispatch/anwendung.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/logbuch.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/demo/simulierte_welt.h"
#include "temp_verzeichnis.h"

namespace rufpilot {
namespace {

constexpr Ortszeit kStart{2026, 12, 8, 10, 0, 0, 0};

struct AnwendungTest : ::testing::Test {
    test::TempVerzeichnis tmp;
    std::ostringstream aus;
    std::unique_ptr<SimulierteWelt> w;

    void SetUp() override {
        Einstellungen e;
        e.msnListe = "4711;4712;;;;;;;;";
        einstellungenSchreiben(tmp.pfad() / "server.ini", e);
        nummernSchreiben(tmp.pfad() / "fms_telefon_leitung.dat", {{"6A1B2345", "01711234567", "DTR"}});
    }
    SimulierteWelt& welt() {
        if (!w) w = std::make_unique<SimulierteWelt>(tmp.pfad(), aus, kStart);
        return *w;
    }
    // Message texts (without the time), oldest first.
    std::vector<std::string> meldungen() {
        std::vector<std::string> m;
        for (const auto& z : welt().ui.zeilen(Liste::Meldungen)) m.insert(m.begin(), z.substr(z.find('\t') + 1));
        return m;
    }
    std::vector<std::string> gesendet() {
        std::vector<std::string> namen;
        for (const auto& g : welt().leitung.gesendet()) namen.push_back(CapiName(g.befehl, g.unterbefehl));
        return namen;
    }
};

TEST_F(AnwendungTest, StartsInOrderAndTheTickLightsTheLamps) {
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    EXPECT_EQ(meldungen(), (std::vector<std::string>{"Port OK\t1", "Capi gestartet"}));
    EXPECT_TRUE(s.ui.listenEingerichtet());
    EXPECT_EQ(gesendet(), (std::vector<std::string>{"LISTEN_REQ"}));
    EXPECT_EQ(s.fw.SoundStatus(), 2);
    EXPECT_EQ(s.fw.DecLinksFMS(), tonwerk::Wahr);
    EXPECT_EQ(s.fw.DecRechtsFMS(), tonwerk::Falsch);
    EXPECT_EQ(s.fw.FMSKurztextTRBOS(), tonwerk::Falsch);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Soundkarte), Farbe::Gruen);
    EXPECT_EQ(s.ui.leitungHoch(1, 1), false);
    EXPECT_EQ(s.ui.leitungHoch(1, 2), false);
    EXPECT_FALSE(s.ui.lampenfarbe(Lampe::Capi));
    s.zeit.laufen(1000);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Capi), Farbe::Gruen);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Port1), Farbe::Gruen);
    EXPECT_EQ(s.anwendung.nummern().size(), 1u);
    ASSERT_EQ(s.anwendung.soundkarten().size(), 1u);
}

TEST_F(AnwendungTest, WithoutADriverTheMonitorStaysOffAndTheLampRed) {
    SimulierteWelt& s = welt();
    s.leitung.vorhandenSetzen(false);
    s.anwendung.starten();
    const auto m = meldungen();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1].rfind("Capi nicht vorhanden\t", 0), 0u) << m[1];
    EXPECT_EQ(s.leitung.registrierungen(), 0);
    EXPECT_TRUE(s.ui.listenEingerichtet());  // titles without a source too
    s.zeit.laufen(1000);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Capi), Farbe::Rot);
    // Sound decoding and the number table work all the same.
    EXPECT_EQ(s.fw.SoundStatus(), 2);
    EXPECT_EQ(s.anwendung.nummern().size(), 1u);
}

TEST_F(AnwendungTest, WithoutMsnsTheMonitorIsNotStarted) {
    Einstellungen e;
    e.msnListe = "4711";
    einstellungenSchreiben(tmp.pfad() / "server.ini", e);
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    EXPECT_EQ(meldungen(), (std::vector<std::string>{"Port OK\t1", "Noch keine MSN vergeben !"}));
    EXPECT_EQ(s.leitung.registrierungen(), 0);
    s.zeit.laufen(1000);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Capi), Farbe::Rot);
}

TEST_F(AnwendungTest, ARefusedRegistrationIsNotReportedAsStarted) {
    SimulierteWelt& s = welt();
    s.leitung.applIdSetzen(0);
    s.anwendung.starten();
    EXPECT_FALSE(s.anwendung.capiBereit());
    for (const auto& m : meldungen()) EXPECT_NE(m, "Capi gestartet");
    s.zeit.laufen(1000);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Capi), Farbe::Rot);
}

TEST_F(AnwendungTest, AFreshInstallKeysWithALeadTimeAndAKeptFileKeepsItsOwn) {
    std::filesystem::remove(tmp.pfad() / "server.ini");
    welt().anwendung.starten();
    EXPECT_EQ(welt().anwendung.einstellungen().fmsVorlaufMs, 200);
    w.reset();
    Einstellungen e;
    e.msnListe = "4711;;;;;;;;;";
    e.fmsVorlaufMs = 0;  // a station that chose none
    einstellungenSchreiben(tmp.pfad() / "server.ini", e);
    welt().anwendung.starten();
    EXPECT_EQ(welt().anwendung.einstellungen().fmsVorlaufMs, 0);
}

TEST_F(AnwendungTest, WithoutCaptureTheSoundLampIsBlackUntilADeviceOpens) {
    SimulierteWelt& s = welt();
    s.eingang.fehlerSetzen(-ENODEV);
    s.anwendung.starten();
    EXPECT_FALSE(s.anwendung.soundBereit());
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Soundkarte), Farbe::Schwarz);
    const auto m = meldungen();
    ASSERT_GE(m.size(), 2u);
    EXPECT_EQ(m[1], "Soundkarte nicht gestartet:\tkeine Aufnahmequelle lässt sich öffnen (Karte 0: Gerät nicht vorhanden)");
    // Still nothing after a while: no message per check.
    s.zeit.laufen(20000);
    EXPECT_EQ(meldungen().size(), m.size());
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Soundkarte), Farbe::Schwarz);
    // The card is plugged in: taken at the next check.
    s.eingang.fehlerSetzen(0);
    s.zeit.laufen(10000);
    EXPECT_TRUE(s.anwendung.soundBereit());
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Soundkarte), Farbe::Gruen);
    const auto danach = meldungen();
    EXPECT_EQ(danach[danach.size() - 2], "Soundkarte gefunden:\tSimulierter Eingang");
    EXPECT_EQ(danach.back(), "Soundkarte gestartet:\tSimulierter Eingang");
    EXPECT_EQ(s.fw.SoundStatus(), 2);
    EXPECT_EQ(s.fw.DecLinksFMS(), tonwerk::Wahr);
}

TEST_F(AnwendungTest, ALostDriverConnectionTurnsTheLampRedUntilItIsBack) {
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    s.zeit.laufen(1000);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Capi), Farbe::Gruen);
    s.leitung.abholfehlerSetzen(kCapiVerbindungVerloren);
    s.zeit.laufen(1000);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Capi), Farbe::Rot);
    s.leitung.abholfehlerSetzen(0);
    s.zeit.laufen(1000);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Capi), Farbe::Gruen);
}

TEST_F(AnwendungTest, TodaysCallLogIsLoadedWithItsLastLineOnTop) {
    std::filesystem::create_directories(tmp.pfad() / "Logs");
    for (const char* zeile : {"09:00:00\t01\t4711\tA\t1\tDTR\tja", "09:10:00\t02\t4711\tB\t1\tDTR\tnein",
                              "09:20:00\t03\t4712\tC\t2\tRTS\tja"})
        logZeileAnhaengen(tmp.pfad() / "Logs", 2026, 12, 8, zeile);
    logZeileAnhaengen(tmp.pfad() / "Logs", 2026, 12, 7, "gestern");
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    const auto& zeilen = s.ui.zeilen(Liste::Anrufe);
    ASSERT_EQ(zeilen.size(), 3u);
    EXPECT_EQ(zeilen[0], "09:20:00\t03\t4712\tC\t2\tRTS\tja");
    EXPECT_EQ(zeilen[2], "09:00:00\t01\t4711\tA\t1\tDTR\tja");
}

TEST_F(AnwendungTest, ShutDownStopsTheTimerClosesThePortStopsSoundAndReleasesCapi) {
    Einstellungen e;
    e.msnListe = "4711;;;;;;;;;";
    e.pegelumkehr = 1;
    einstellungenSchreiben(tmp.pfad() / "server.ini", e);
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    EXPECT_TRUE(s.anschluss.dtrHoch());  // inverted rest level
    s.anwendung.beenden();
    EXPECT_FALSE(s.fensterTimer.aktiv());
    EXPECT_FALSE(s.anschluss.offen());
    EXPECT_NE(s.fw.SoundStatus(), 2);
    EXPECT_EQ(s.leitung.freigaben(), 1);
    // Both lines go to their low level after the port was closed.
    const auto& p = s.anschluss.protokoll();
    ASSERT_GE(p.size(), 3u);
    EXPECT_EQ(p[p.size() - 3], "schliessen 1");
    EXPECT_EQ(p[p.size() - 2], "DTR aus");
    EXPECT_EQ(p[p.size() - 1], "RTS aus");
    s.anwendung.beenden();  // a second close does nothing
    EXPECT_EQ(s.leitung.freigaben(), 1);
}

TEST_F(AnwendungTest, ShutDownReportsEachStepAfterItIsDone) {
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    std::vector<std::string> gesehen;
    s.anwendung.beenden([&](Abschaltschritt schritt) {
        const std::string zustand = std::string(s.fensterTimer.aktiv() ? "T" : "-") + (s.anschluss.offen() ? "P" : "-") +
                                    (s.fw.SoundStatus() == 2 ? "S" : "-") + (s.leitung.freigaben() == 0 ? "C" : "-");
        gesehen.push_back(std::to_string(static_cast<int>(schritt)) + zustand);
    });
    EXPECT_EQ(gesehen, (std::vector<std::string>{"0-PSC", "1--SC", "2---C", "3----"}));
}

TEST_F(AnwendungTest, SavingTheDialogWritesTheFileAndTakesEffectAtOnce) {
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    Einstellungen neu = s.anwendung.einstellungen();
    neu.msnListe = "9001;9002;;;;;;;;";
    neu.comPort = 2;
    s.anwendung.einstellungenSpeichern(neu);
    EXPECT_EQ(einstellungenLesen(tmp.pfad() / "server.ini"), neu);
    EXPECT_EQ(s.anwendung.vermittlung().msnTabelle()[1], "9002");
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Port1), Farbe::Rot);
    EXPECT_EQ(s.ui.lampenfarbe(Lampe::Port4), Farbe::Rot);
    // An unwritable file is reported to the caller.
    std::filesystem::remove(tmp.pfad() / "server.ini");
    std::filesystem::create_directory(tmp.pfad() / "server.ini");
    EXPECT_THROW(s.anwendung.einstellungenSpeichern(neu), std::system_error);
}

TEST_F(AnwendungTest, ReloadingAfterTheDialogTakesTheNewTableAndMsns) {
    SimulierteWelt& s = welt();
    s.anwendung.starten();
    nummernSchreiben(tmp.pfad() / "fms_telefon_leitung.dat",
                     {{"6A1B2345", "01711234567", "DTR"}, {"6A1B2346", "0301234567", "RTS"}});
    s.anwendung.einstellungen().msnListe = "5555;;;;;;;;;";
    s.anwendung.einstellungenNeuLaden();
    EXPECT_EQ(s.anwendung.nummern().size(), 2u);
    EXPECT_EQ(s.anwendung.vermittlung().msnTabelle()[0], "5555");
}

}  // namespace
}  // namespace rufpilot
