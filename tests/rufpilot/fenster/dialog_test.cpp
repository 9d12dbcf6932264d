// The settings dialogs on the simulated world: saving and reopening every
// setting, the MSN line, "Neu" with Form3's checks, "löschen", and the reload
// after the dialog closes.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <fstream>
#include <iterator>

#include "fenster_tests.h"
#include "fenster_welt.h"
#include "rufpilot/config/quellen_datei.h"
#include "rufpilot/dispatch/anwendung.h"
#include "rufpilot/fenster/form2.h"
#include "rufpilot/fenster/form3.h"

namespace rufpilot::test {

namespace {

template <typename T>
T* kind(QWidget& w, const QString& name) {
    T* k = w.findChild<T*>(name);
    if (!k) qFatal("kein %s", qPrintable(name));
    return k;
}

void setzen(QWidget& w, const QString& name, const QString& text) { kind<QLineEdit>(w, name)->setText(text); }
void waehlen(QWidget& w, const QString& name) { kind<QRadioButton>(w, name)->setChecked(true); }
bool gewaehlt(QWidget& w, const QString& name) { return kind<QRadioButton>(w, name)->isChecked(); }
void klicken(QWidget& w, const QString& name) { kind<QPushButton>(w, name)->click(); }

std::string datei(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// In the Form3 that "Neu" opens: type, choose the line, press `knopf`.
void form3Ausfuellen(const QString& kennung, const QString& telefon, bool rts, const QString& knopf) {
    auto* d = qobject_cast<Form3*>(QApplication::activeModalWidget());
    if (!d) qFatal("Form3 ist nicht offen");
    setzen(*d, QStringLiteral("kennung"), kennung);
    setzen(*d, QStringLiteral("telefon"), telefon);
    if (rts) waehlen(*d, QStringLiteral("rts"));
    klicken(*d, knopf);
}

}  // namespace

void DialogTest::speichernUndWiederOeffnen() {
    FensterWelt f;
    f.starten();
    {
        Form2 d(f.w->anwendung, &f.form);
        QCOMPARE(d.windowTitle(), QStringLiteral("Rufnummern und MSN"));
        QVERIFY(gewaehlt(d, QStringLiteral("comPort1")));
        QCOMPARE(kind<QLineEdit>(d, QStringLiteral("msn2"))->text(), QStringLiteral("4712"));
        QCOMPARE(d.tabelle().rowCount(), 1);
        waehlen(d, QStringLiteral("comPort3"));
        kind<QCheckBox>(d, QStringLiteral("pegelumkehr"))->setChecked(true);
        waehlen(d, QStringLiteral("tki0"));  // the button "1"
        waehlen(d, QStringLiteral("baustufe1"));
        waehlen(d, QStringLiteral("abtastrate2"));
        setzen(d, QStringLiteral("vorlauf"), QStringLiteral("350 ms"));
        for (int i = 1; i <= 9; ++i) setzen(d, QStringLiteral("msn%1").arg(i), QStringLiteral("50%1").arg(i));
        klicken(d, QStringLiteral("speichern"));
        QCOMPARE(f.form.leuchte(Lampe::Port1).farbe(), QColor(220, 0, 0));
        QCOMPARE(f.form.leuchte(Lampe::Port4).farbe(), QColor(220, 0, 0));
    }
    const Einstellungen e = einstellungenLesen(f.pfad / "server.ini");
    QCOMPARE(e.comPort, 3);
    QCOMPARE(e.pegelumkehr, 1);
    QCOMPARE(e.tki, 0);
    QCOMPARE(e.baustufe, 1);
    QCOMPARE(e.abtastrate, 2);
    QCOMPARE(e.fmsVorlaufMs, 350);
    QCOMPARE(QString::fromStdString(e.msnListe), QStringLiteral("501;502;503;504;505;506;507;508;509;"));
    QCOMPARE(QString::fromStdString(f.w->anwendung.vermittlung().msnTabelle()[8]), QStringLiteral("509"));

    Form2 wieder(f.w->anwendung, &f.form);
    QVERIFY(gewaehlt(wieder, QStringLiteral("comPort3")));
    QVERIFY(kind<QCheckBox>(wieder, QStringLiteral("pegelumkehr"))->isChecked());
    QVERIFY(gewaehlt(wieder, QStringLiteral("tki0")));
    QVERIFY(gewaehlt(wieder, QStringLiteral("baustufe1")));
    QVERIFY(gewaehlt(wieder, QStringLiteral("abtastrate2")));
    QCOMPARE(kind<QLineEdit>(wieder, QStringLiteral("vorlauf"))->text(), QStringLiteral("350"));
    QCOMPARE(kind<QLineEdit>(wieder, QStringLiteral("msn9"))->text(), QStringLiteral("509"));
    QCOMPARE(kind<QComboBox>(wieder, QStringLiteral("soundkarte"))->currentIndex(), 0);
}

void DialogTest::leereMsnsGebenNeunSemikolons() {
    FensterWelt f;
    f.starten();
    Form2 d(f.w->anwendung, &f.form);
    for (int i = 1; i <= 9; ++i) setzen(d, QStringLiteral("msn%1").arg(i), QString());
    klicken(d, QStringLiteral("speichern"));
    QCOMPARE(QString::fromStdString(einstellungenLesen(f.pfad / "server.ini").msnListe), QStringLiteral(";;;;;;;;;"));
    // Nine empty MSNs are a list all the same: no "Noch keine MSN vergeben !".
    QVERIFY(f.w->anwendung.vermittlung().MsnListeLaden());
}

void DialogTest::ungueltigeEingabenWerdenNichtGespeichert() {
    FensterWelt f;
    f.starten();
    const std::string vorher = datei(f.pfad / "server.ini");
    Form2 d(f.w->anwendung, &f.form);
    d.show();
    setzen(d, QStringLiteral("msn3"), QStringLiteral("47;13"));
    QString meldung;
    gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
    klicken(d, QStringLiteral("speichern"));
    QVERIFY(meldung.contains(QStringLiteral("Status 3")));
    setzen(d, QStringLiteral("msn3"), QStringLiteral("4713"));
    setzen(d, QStringLiteral("vorlauf"), QStringLiteral("99999"));
    gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
    klicken(d, QStringLiteral("speichern"));
    QVERIFY(meldung.contains(QStringLiteral("Sendervorlauf")));
    setzen(d, QStringLiteral("vorlauf"), QStringLiteral("200"));
    // The dialled MSN arrives as digits: letters could never match.
    setzen(d, QStringLiteral("msn2"), QStringLiteral("47a2"));
    gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
    klicken(d, QStringLiteral("speichern"));
    QVERIFY(meldung.contains(QStringLiteral("Status 2")) && meldung.contains(QStringLiteral("Ziffern")));
    setzen(d, QStringLiteral("msn2"), QStringLiteral("4712"));
    // FMS carries the Baustufe in one bit.
    waehlen(d, QStringLiteral("baustufe2"));
    gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
    klicken(d, QStringLiteral("speichern"));
    QVERIFY(meldung.contains(QStringLiteral("Baustufe")));
    QCOMPARE(datei(f.pfad / "server.ini"), vorher);
}

void DialogTest::neuDannZurueckAendertNichts() {
    FensterWelt f;
    f.starten();
    const std::string vorher = datei(f.pfad / "fms_telefon_leitung.dat");
    Form2 d(f.w->anwendung, &f.form);
    d.show();
    gleichDanach([] { form3Ausfuellen(QStringLiteral("12345678"), QStringLiteral("0301234567"), false,
                                      QStringLiteral("zurueck")); });
    klicken(d, QStringLiteral("neu"));
    QCOMPARE(d.tabelle().rowCount(), 1);
    QCOMPARE(datei(f.pfad / "fms_telefon_leitung.dat"), vorher);
}

void DialogTest::neuMitPruefung() {
    FensterWelt f;
    f.starten();
    const std::string vorher = datei(f.pfad / "fms_telefon_leitung.dat");
    Form2 d(f.w->anwendung, &f.form);
    d.show();
    QString meldung;
    for (const QString& kennung : {QStringLiteral("1234567"), QStringLiteral("123456789")}) {
        gleichDanach([&] {
            gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
            form3Ausfuellen(kennung, QStringLiteral("0301234567"), false, QStringLiteral("speichern"));
        });
        klicken(d, QStringLiteral("neu"));
        QCOMPARE(meldung, QStringLiteral("FMS-Kennung muß 8-stellig sein und Telefon mind. 5-stellig"));
        QCOMPARE(d.tabelle().rowCount(), 1);
    }
    gleichDanach([&] {
        gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
        form3Ausfuellen(QStringLiteral("12345678"), QStringLiteral("0301"), false, QStringLiteral("speichern"));
    });
    klicken(d, QStringLiteral("neu"));
    QCOMPARE(datei(f.pfad / "fms_telefon_leitung.dat"), vorher);

    // 8 characters and a number of 5: accepted, on RTS.
    gleichDanach([] { form3Ausfuellen(QStringLiteral("12345678"), QStringLiteral("03012"), true,
                                      QStringLiteral("speichern")); });
    klicken(d, QStringLiteral("neu"));
    QCOMPARE(d.tabelle().rowCount(), 2);
    QCOMPARE(d.tabelle().item(1, 2)->text(), QStringLiteral("RTS"));
    QCOMPARE(datei(f.pfad / "fms_telefon_leitung.dat"), vorher + "12345678\t03012\tRTS\r\n");

    // A TAB would split the record: refused with a message, nothing written.
    gleichDanach([&] {
        gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
        form3Ausfuellen(QStringLiteral("1234\t678"), QStringLiteral("0301234"), false, QStringLiteral("speichern"));
    });
    klicken(d, QStringLiteral("neu"));
    QVERIFY(meldung.contains(QStringLiteral("hexadezimal")));
    QCOMPARE(d.tabelle().rowCount(), 2);

    // A Kennung FMS cannot carry, a number that is no number: refused.
    gleichDanach([&] {
        gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
        form3Ausfuellen(QStringLiteral("XYZXYZXY"), QStringLiteral("0301234"), false, QStringLiteral("speichern"));
    });
    klicken(d, QStringLiteral("neu"));
    QCOMPARE(meldung, QStringLiteral("FMS-Kennung \"XYZXYZXY\" ist nicht 8-stellig hexadezimal (Ziffern 0-9 und A-F)"));
    gleichDanach([&] {
        gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
        form3Ausfuellen(QStringLiteral("6A1B2346"), QStringLiteral("Handy Anna"), false, QStringLiteral("speichern"));
    });
    klicken(d, QStringLiteral("neu"));
    QCOMPARE(meldung, QStringLiteral("Die Telefonnummer darf nur Ziffern enthalten"));
    QCOMPARE(d.tabelle().rowCount(), 2);

    // Separators as people type them are dropped: the caller arrives as digits.
    for (const QString& getippt : {QStringLiteral("0171/1234567"), QStringLiteral("0171 / 123-45")}) {
        gleichDanach([&] { form3Ausfuellen(QStringLiteral("6a1b2346"), getippt, false, QStringLiteral("speichern")); });
        klicken(d, QStringLiteral("neu"));
    }
    QCOMPARE(d.tabelle().rowCount(), 4);
    QCOMPARE(d.tabelle().item(2, 1)->text(), QStringLiteral("01711234567"));
    QCOMPARE(datei(f.pfad / "fms_telefon_leitung.dat"),
             vorher + "12345678\t03012\tRTS\r\n6A1B2346\t01711234567\tDTR\r\n6A1B2346\t017112345\tDTR\r\n");
}

void DialogTest::loeschenBehaeltWasDieTabelleNichtZeigt() {
    FensterWelt f;
    // Records the grid never shows: too few fields, a comment after a comma.
    const std::string inhalt =
        "11111111\t0301\tDTR\r\nnur\tzwei\r\n22222222\t0302\tRTS\r\n33333333\t0303\tDTR,Wache Nord\r\n";
    {
        std::ofstream(f.pfad / "fms_telefon_leitung.dat", std::ios::binary) << inhalt;
    }
    f.starten();
    Form2 d(f.w->anwendung, &f.form);
    d.show();
    QCOMPARE(d.tabelle().rowCount(), 3);
    d.tabelle().selectRow(1);
    gleichDanach([&] { antworten(QMessageBox::Yes); });
    klicken(d, QStringLiteral("loeschen"));
    QCOMPARE(d.tabelle().rowCount(), 2);
    QCOMPARE(datei(f.pfad / "fms_telefon_leitung.dat"),
             std::string("11111111\t0301\tDTR\r\nnur\tzwei\r\n33333333\t0303\tDTR,Wache Nord\r\n"));
    // The incomplete record was named when the table was read.
    bool genannt = false;
    for (int r = 0; r < f.form.liste(Liste::Meldungen).rowCount(); ++r)
        if (f.meldung(r) == QStringLiteral("fms_telefon_leitung.dat Zeile 2:\tweniger als drei Felder, nicht übernommen"))
            genannt = true;
    QVERIFY(genannt);
}

void DialogTest::loeschenSchreibtDieDateiInTabellenreihenfolge() {
    FensterWelt f;
    nummernSchreiben(f.pfad / "fms_telefon_leitung.dat",
                     {{"11111111", "0301", "DTR"}, {"22222222", "0302", "RTS"}, {"33333333", "0303", "DTR"}});
    f.starten();
    Form2 d(f.w->anwendung, &f.form);
    d.show();
    // Nothing selected: nothing asked, nothing deleted.
    d.tabelle().clearSelection();
    klicken(d, QStringLiteral("loeschen"));
    QCOMPARE(d.tabelle().rowCount(), 3);

    d.tabelle().selectRow(1);
    QString frage;
    gleichDanach([&] { frage = antworten(QMessageBox::No); });
    klicken(d, QStringLiteral("loeschen"));
    QCOMPARE(frage, QStringLiteral("wirklich löschen ?"));
    QCOMPARE(d.tabelle().rowCount(), 3);

    d.tabelle().selectRow(1);
    gleichDanach([&] { antworten(QMessageBox::Yes); });
    klicken(d, QStringLiteral("loeschen"));
    QCOMPARE(d.tabelle().rowCount(), 2);
    QCOMPARE(datei(f.pfad / "fms_telefon_leitung.dat"), std::string("11111111\t0301\tDTR\r\n33333333\t0303\tDTR\r\n"));
}

void DialogTest::einstellungenKnopfLaedtDanachNeu() {
    FensterWelt f;
    f.starten();
    QCOMPARE(f.w->anwendung.nummern().size(), std::size_t{1});
    gleichDanach([] {
        auto* d = qobject_cast<Form2*>(QApplication::activeModalWidget());
        if (!d) qFatal("Form2 ist nicht offen");
        gleichDanach([] { form3Ausfuellen(QStringLiteral("87654321"), QStringLiteral("0401234"), false,
                                          QStringLiteral("speichern")); });
        klicken(*d, QStringLiteral("neu"));
        setzen(*d, QStringLiteral("msn1"), QStringLiteral("9999"));  // not saved: lost with "zurück"
        klicken(*d, QStringLiteral("zurueck"));
    });
    f.form.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    QCOMPARE(f.w->anwendung.nummern().size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(f.w->anwendung.vermittlung().msnTabelle()[0]), QStringLiteral("4711"));
    QVERIFY(f.w->anschluss.offen());  // the port was checked again
}

}  // namespace rufpilot::test

namespace rufpilot::test {

void DialogTest::anrufquelleSpeichernUndWiederOeffnen() {
    FensterWelt f;
    f.starten();
    const std::string ini = datei(f.pfad / "server.ini");
    {
        Form2 d(f.w->anwendung, &f.form);
        auto* quelle = kind<QComboBox>(d, QStringLiteral("quelle"));
        QCOMPARE(quelle->currentText(), QStringLiteral("CAPI 2.0"));
        QVERIFY(!kind<QLineEdit>(d, QStringLiteral("monitorHost"))->isEnabled());
        QVERIFY(!kind<QLineEdit>(d, QStringLiteral("registrar"))->isEnabled());
        quelle->setCurrentIndex(quelle->findText(QStringLiteral("Anrufmonitor des Routers")));
        QVERIFY(kind<QLineEdit>(d, QStringLiteral("monitorHost"))->isEnabled());
        QVERIFY(kind<QLineEdit>(d, QStringLiteral("passwort"))->isEnabled());
        QCOMPARE(kind<QLineEdit>(d, QStringLiteral("passwort"))->echoMode(), QLineEdit::Password);
        QCOMPARE(kind<QLineEdit>(d, QStringLiteral("monitorPort"))->text(), QStringLiteral("1012"));
        setzen(d, QStringLiteral("monitorHost"), QStringLiteral(" 192.168.178.1 "));
        setzen(d, QStringLiteral("registrar"), QStringLiteral("fritz.box"));
        setzen(d, QStringLiteral("benutzer"), QStringLiteral("620"));
        setzen(d, QStringLiteral("passwort"), QStringLiteral("geheim ä"));
        klicken(d, QStringLiteral("speichern"));
        QVERIFY(f.form.liste(Liste::Meldungen).zeile(0).endsWith(QStringLiteral("Anrufquelle geändert:\tgilt ab dem nächsten Programmstart")));
    }
    const Quellenlesung l = quellenLesen(f.pfad);
    QCOMPARE(static_cast<int>(l.werte.art), static_cast<int>(Quellenart::Anrufmonitor));
    QCOMPARE(QString::fromStdString(l.werte.monitorHost), QStringLiteral("192.168.178.1"));
    QCOMPARE(QString::fromStdString(l.werte.sip.passwort), QStringLiteral("geheim ä"));
    QCOMPARE(std::filesystem::status(f.pfad / kPasswortdatei).permissions() & std::filesystem::perms::all,
             std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // server.ini keeps its eight lines, unchanged by the new section.
    QCOMPARE(datei(f.pfad / "server.ini"), ini);

    Form2 wieder(f.w->anwendung, &f.form);
    QCOMPARE(kind<QComboBox>(wieder, QStringLiteral("quelle"))->currentText(), QStringLiteral("Anrufmonitor des Routers"));
    QCOMPARE(kind<QLineEdit>(wieder, QStringLiteral("benutzer"))->text(), QStringLiteral("620"));
    // Saving again without a change says nothing new.
    const QString vorher = f.meldung(0);
    const int zeilen = f.form.liste(Liste::Meldungen).rowCount();
    klicken(wieder, QStringLiteral("speichern"));
    QCOMPARE(f.form.liste(Liste::Meldungen).rowCount(), zeilen);
    QCOMPARE(f.meldung(0), vorher);
}

void DialogTest::anrufquelleUngueltigWirdNichtGespeichert() {
    FensterWelt f;
    f.starten();
    const std::string ini = datei(f.pfad / "server.ini");
    Form2 d(f.w->anwendung, &f.form);
    d.show();
    auto* quelle = kind<QComboBox>(d, QStringLiteral("quelle"));
    quelle->setCurrentIndex(2);
    QString meldung;
    gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
    klicken(d, QStringLiteral("speichern"));
    QVERIFY(meldung.contains(QStringLiteral("Adresse des Routers")));
    setzen(d, QStringLiteral("monitorHost"), QStringLiteral("fritz.box"));
    setzen(d, QStringLiteral("monitorPort"), QStringLiteral("70000"));
    gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
    klicken(d, QStringLiteral("speichern"));
    QVERIFY(meldung.contains(QStringLiteral("65535")));
    setzen(d, QStringLiteral("monitorPort"), QStringLiteral("1012"));
    setzen(d, QStringLiteral("registrar"), QStringLiteral("fritz box"));
    gleichDanach([&] { meldung = antworten(QMessageBox::Ok); });
    klicken(d, QStringLiteral("speichern"));
    QVERIFY(meldung.contains(QStringLiteral("Leerzeichen")));
    QVERIFY(!std::filesystem::exists(f.pfad / kQuellendatei));
    QVERIFY(!std::filesystem::exists(f.pfad / kPasswortdatei));
    QCOMPARE(datei(f.pfad / "server.ini"), ini);
}

}  // namespace rufpilot::test
