// The window's test classes; fenster_main.cpp runs them all.
#pragma once

#include <QObject>

namespace rufpilot::test {

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void startMitCapiUndMsns();
    void startOhneMsnsOhneIniOhneCapi();
    void heutigesProtokollMitLetzterZeileOben();
    void meldungslisteWirdBei200Geleert();
    void fmsKnopfPrueftStatusUndKennung();
    void handyKnopfPrueftLaengen();
    void ohneTrayWirdMinimiert();
    void trayVersteckenUndLinksklick();
    void schliessenMitNeinLaeuftWeiter();
    void schliessenMitJaInDerRichtigenReihenfolge();
    void dialogeNichtWaehrendGetastet();
};

class DialogTest : public QObject {
    Q_OBJECT
private slots:
    void speichernUndWiederOeffnen();
    void leereMsnsGebenNeunSemikolons();
    void ungueltigeEingabenWerdenNichtGespeichert();
    void neuDannZurueckAendertNichts();
    void neuMitPruefung();
    void loeschenSchreibtDieDateiInTabellenreihenfolge();
    void loeschenBehaeltWasDieTabelleNichtZeigt();
    void einstellungenKnopfLaedtDanachNeu();
    void anrufquelleSpeichernUndWiederOeffnen();
    void anrufquelleUngueltigWirdNichtGespeichert();
};

class ZeitgeberTest : public QObject {
    Q_OBJECT
private slots:
    void tickLaeuftVerschachtelt();
    void signalBeendetDieWarten();
};

}  // namespace rufpilot::test
