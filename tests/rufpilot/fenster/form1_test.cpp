// The main window on the simulated world: start-up states, list limits, the
// test buttons, the tray and its fallback, and the close sequence.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "fenster_tests.h"
#include "fenster_welt.h"
#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/dispatch/anwendung.h"

namespace rufpilot::test {

namespace {

QString kopf(Form1& f, Liste l, int spalte) {
    const QTableWidgetItem* it = f.liste(l).horizontalHeaderItem(spalte);
    return it ? it->text() : QString();
}

int capiNachrichten(FensterWelt& f, const std::string& name) {
    int n = 0;
    for (const auto& g : f.w->leitung.gesendet())
        if (CapiName(g.befehl, g.unterbefehl) == name) ++n;
    return n;
}

void eintippen(Form1& f, const char* feld, const QString& text) {
    f.findChild<QLineEdit*>(QString::fromLatin1(feld))->setText(text);
}

void klicken(Form1& f, const char* name) { f.findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

}  // namespace

void Form1Test::startMitCapiUndMsns() {
    FensterWelt f;
    f.starten();
    QCOMPARE(f.form.windowTitle(), QStringLiteral("Rufpilot"));
    QCOMPARE(f.form.size(), QSize(729, 494));
    QCOMPARE(f.meldung(0), QStringLiteral("Capi gestartet"));
    QCOMPARE(f.meldung(1), QStringLiteral("Port OK\t1"));
    QCOMPARE(kopf(f.form, Liste::Anrufe, 6), QStringLiteral("Quitt"));
    QCOMPARE(kopf(f.form, Liste::Fms, 3), QStringLiteral("Rtg."));
    QCOMPARE(kopf(f.form, Liste::Meldungen, 2), QStringLiteral("Zusatzmeldung"));
    // Widths in twips at 15 per pixel.
    QCOMPARE(f.form.liste(Liste::Anrufe).columnWidth(1), 1250 / 15);
    QCOMPARE(f.form.liste(Liste::Fms).columnWidth(4), 1700 / 15);
    QCOMPARE(f.form.leuchte(Lampe::Capi).farbe(), QColor(0, 190, 0));
    QCOMPARE(f.form.leuchte(Lampe::Soundkarte).farbe(), QColor(0, 190, 0));
    QCOMPARE(f.form.leuchte(Lampe::Port1).farbe(), QColor(0, 190, 0));
    QVERIFY(!f.form.findChild<QLabel*>(QStringLiteral("Text1"))->isVisibleTo(&f.form));
    QVERIFY(!f.form.findChild<QLabel*>(QStringLiteral("Text6"))->isVisibleTo(&f.form));
}

void Form1Test::startOhneMsnsOhneIniOhneCapi() {
    {
        FensterWelt f("4711");  // no ";": no MSN at all
        f.starten();
        QCOMPARE(f.meldung(0), QStringLiteral("Noch keine MSN vergeben !"));
        QCOMPARE(kopf(f.form, Liste::Anrufe, 0), QStringLiteral("Uhrzeit"));  // titles without a source too
        QCOMPARE(f.form.leuchte(Lampe::Capi).farbe(), QColor(220, 0, 0));
    }
    {
        FensterWelt f("", false);  // no server.ini: defaults, no MSN
        f.starten();
        QCOMPARE(f.meldung(0), QStringLiteral("Noch keine MSN vergeben !"));
        QCOMPARE(f.meldung(1), QStringLiteral("Port OK\t1"));
    }
    {
        FensterWelt f;
        f.w->leitung.vorhandenSetzen(false);
        f.starten();
        QVERIFY(f.meldung(0).startsWith(QStringLiteral("Capi nicht vorhanden\t")));
        QCOMPARE(f.form.leuchte(Lampe::Capi).farbe(), QColor(220, 0, 0));
        // Decoding and the test buttons keep working.
        QCOMPARE(f.w->fw.SoundStatus(), 2);
    }
}

void Form1Test::heutigesProtokollMitLetzterZeileOben() {
    FensterWelt f;
    std::filesystem::create_directories(f.pfad / "Logs");
    for (const char* zeile : {"09:00:00\t01\t4711\tA\t1\tDTR\tja", "09:10:00\t02\t4711\tB\t1\tDTR\tnein",
                              "09:20:00\t03\t4712\tC\t2\tRTS\tja"})
        logZeileAnhaengen(f.pfad / "Logs", 2026, 12, 8, zeile);
    f.starten();
    QCOMPARE(f.form.liste(Liste::Anrufe).rowCount(), 3);
    QCOMPARE(f.form.liste(Liste::Anrufe).zeile(0), QStringLiteral("09:20:00\t03\t4712\tC\t2\tRTS\tja"));
    QCOMPARE(f.form.liste(Liste::Anrufe).zeile(2), QStringLiteral("09:00:00\t01\t4711\tA\t1\tDTR\tja"));
}

void Form1Test::meldungslisteWirdBei200Geleert() {
    FensterWelt f;
    f.starten();
    Rufliste& liste = f.form.liste(Liste::Meldungen);
    for (int i = liste.rowCount(); i < 200; ++i) f.w->anwendung.vermittlung().MeldungSchreiben("m" + std::to_string(i));
    QCOMPARE(liste.rowCount(), 200);
    const QString aeltesteBleibende = liste.zeile(198);
    f.w->anwendung.vermittlung().MeldungSchreiben("neu\tzusatz");
    QCOMPARE(liste.rowCount(), 200);  // the newest stay, the oldest went
    QCOMPARE(f.meldung(0), QStringLiteral("neu\tzusatz"));
    QCOMPARE(liste.zeile(199), aeltesteBleibende);
    QCOMPARE(kopf(f.form, Liste::Meldungen, 1), QStringLiteral("Meldung"));  // the header stays
}

void Form1Test::fmsKnopfPrueftStatusUndKennung() {
    FensterWelt f;
    f.starten();
    const int vorher = f.w->ausgabe.sendungen();
    eintippen(f.form, "Text2", QStringLiteral("12345678"));
    eintippen(f.form, "Text4", QStringLiteral("0"));
    klicken(f.form, "Command4");
    QCOMPARE(f.w->ausgabe.sendungen(), vorher);
    eintippen(f.form, "Text2", QStringLiteral("1234567"));
    eintippen(f.form, "Text4", QStringLiteral("3"));
    klicken(f.form, "Command4");
    QCOMPARE(f.w->ausgabe.sendungen(), vorher);

    eintippen(f.form, "Text2", QStringLiteral("12345678"));
    eintippen(f.form, "Text4", QStringLiteral("2,5"));  // halves to even: status 2
    f.form.findChild<QRadioButton*>(QStringLiteral("Option1_1"))->setChecked(true);
    f.w->anschluss.protokoll();
    const std::size_t protokollVorher = f.w->anschluss.protokoll().size();
    klicken(f.form, "Command4");
    QVERIFY(f.w->ausgabe.sendungen() > vorher);
    bool gesendet = false;
    for (int r = 0; r < f.form.liste(Liste::Meldungen).rowCount(); ++r)
        if (f.meldung(r) == QStringLiteral("Sende FMS 12345678\t Status=2")) gesendet = true;
    QVERIFY(gesendet);
    // Keyed on the second line, RTS.
    const auto& p = f.w->anschluss.protokoll();
    QVERIFY(std::find(p.begin() + static_cast<std::ptrdiff_t>(protokollVorher), p.end(), "RTS an") != p.end());

    // The label beside the button acts like it.
    const int nachKnopf = f.w->ausgabe.sendungen();
    QTest::mouseClick(f.form.findChild<QLabel*>(QStringLiteral("LabelFMS")), Qt::LeftButton);
    QVERIFY(f.w->ausgabe.sendungen() > nachKnopf);
}

void Form1Test::handyKnopfPrueftLaengen() {
    FensterWelt f;
    f.starten();
    eintippen(f.form, "Text3", QStringLiteral("01711"));  // 5 characters: too short
    eintippen(f.form, "Text5", QStringLiteral("47110"));
    klicken(f.form, "Command1");
    QCOMPARE(capiNachrichten(f, "CONNECT_REQ"), 0);
    eintippen(f.form, "Text3", QStringLiteral("017112"));
    eintippen(f.form, "Text5", QStringLiteral("4711"));  // 4 characters: too short
    klicken(f.form, "Command1");
    QCOMPARE(capiNachrichten(f, "CONNECT_REQ"), 0);
    eintippen(f.form, "Text5", QStringLiteral("47110"));
    klicken(f.form, "Command1");
    QCOMPARE(capiNachrichten(f, "CONNECT_REQ"), 1);
}

void Form1Test::ohneTrayWirdMinimiert() {
    FensterWelt f;
    f.starten();
    f.form.trayVorhanden = [] { return false; };
    f.form.show();
    klicken(f.form, "Command5");
    QVERIFY(f.form.isVisible());
    QVERIFY(f.form.windowState() & Qt::WindowMinimized);
    QVERIFY(f.meldung(0).startsWith(QStringLiteral("Kein Infobereich")));
    QVERIFY(f.form.trayicon() == nullptr);
}

void Form1Test::trayVersteckenUndLinksklick() {
    FensterWelt f;
    f.starten();
    f.form.trayVorhanden = [] { return true; };
    f.form.show();
    QTest::mouseClick(f.form.findChild<QLabel*>(QStringLiteral("LabelTray")), Qt::LeftButton);
    QVERIFY(!f.form.isVisible());
    QVERIFY(f.form.trayicon() && f.form.trayicon()->isVisible());
    QCOMPARE(f.form.trayicon()->toolTip(), QStringLiteral("Server vergrößern"));
    emit f.form.trayicon()->activated(QSystemTrayIcon::Context);  // only a left click brings it back
    QVERIFY(!f.form.isVisible());
    emit f.form.trayicon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(f.form.isVisible());
    QVERIFY(f.form.trayicon()->isVisible());  // the icon stays until the end
}

void Form1Test::schliessenMitNeinLaeuftWeiter() {
    FensterWelt f;
    f.starten();
    f.form.show();
    QString frage, nein;
    gleichDanach([&] { frage = antworten(QMessageBox::No, &nein); });
    QVERIFY(!f.form.close());
    QCOMPARE(frage, QStringLiteral("Programm wirklich beenden ?"));
    QCOMPARE(nein, QStringLiteral("&Nein"));
    QVERIFY(f.form.isVisible());
    QVERIFY(f.w->fensterTimer.aktiv());
    QVERIFY(f.w->anschluss.offen());
    QCOMPARE(f.w->fw.SoundStatus(), 2);
    QCOMPARE(f.w->leitung.freigaben(), 0);
}

void Form1Test::schliessenMitJaInDerRichtigenReihenfolge() {
    Einstellungen e;
    e.msnListe = "4711;;;;;;;;;";
    e.pegelumkehr = 1;
    FensterWelt f;
    einstellungenSchreiben(f.pfad / "server.ini", e);
    f.starten();
    f.form.trayVorhanden = [] { return true; };
    f.form.show();
    f.form.inDenTray();
    f.form.ausDemTray();

    // What was true at each step.
    QStringList schritte;
    QObject::connect(&f.form, &Form1::abschaltschritt, [&](const QString& s) {
        const bool timer = f.w->fensterTimer.aktiv(), port = f.w->anschluss.offen(),
                   tray = f.form.trayicon()->isVisible(),
                   hinweis = f.form.findChild<QLabel*>(QStringLiteral("Text1"))->isVisibleTo(&f.form),
                   sound = f.w->fw.SoundStatus() == 2, capi = f.w->leitung.freigaben() == 0;
        schritte << QStringLiteral("%1 T%2 P%3 I%4 H%5 S%6 C%7")
                        .arg(s)
                        .arg(timer)
                        .arg(port)
                        .arg(tray)
                        .arg(hinweis)
                        .arg(sound)
                        .arg(capi);
    });
    bool geschlossen = false;
    QObject::connect(&f.form, &Form1::geschlossen, [&] { geschlossen = true; });
    QString ja;
    gleichDanach([&] { antworten(QMessageBox::Yes, &ja); });
    QVERIFY(f.form.close());
    QCOMPARE(ja, QStringLiteral("&Ja"));
    QCOMPARE(schritte, (QStringList{"Timer T0 P1 I1 H0 S1 C1", "Trayicon T0 P1 I0 H0 S1 C1",
                                    "Port T0 P0 I0 H0 S1 C1", "Hinweis T0 P0 I0 H1 S1 C1",
                                    "Soundstop T0 P0 I0 H1 S0 C1", "CapiStop T0 P0 I0 H1 S0 C0"}));
    QCOMPARE(f.form.findChild<QLabel*>(QStringLiteral("Text1"))->text(),
             QStringLiteral("bitte warten, die Soundkarte(n) werden reinitialisiert ..."));
    // Inverted rest levels: both lines to low after the port was closed.
    const auto& p = f.w->anschluss.protokoll();
    QCOMPARE(QString::fromStdString(p[p.size() - 2]), QStringLiteral("DTR aus"));
    QCOMPARE(QString::fromStdString(p[p.size() - 1]), QStringLiteral("RTS aus"));
    QVERIFY(geschlossen);
}

}  // namespace rufpilot::test

namespace rufpilot::test {

// "Einstellungen" and the close question during a keyed wait would run their
// modal loop inside the send and keep the transmitter keyed while open: both
// are refused with a message until the line is released, then work again.
void Form1Test::dialogeNichtWaehrendGetastet() {
    FensterWelt f;
    f.starten();
    f.form.show();
    bool dialogOffen = false;
    auto schliessenFallsOffen = [&] {
        gleichDanach([&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                dialogOffen = true;
                w->close();
            }
        });
    };
    bool gedrueckt = false, geschlossen = true;
    SimulierteZeit::Timer& mitten = f.w->zeit.timer();
    mitten.aktivieren(300, [&] {
        mitten.deaktivieren();
        QVERIFY(f.w->anwendung.vermittlung().leitungen().getastet());
        schliessenFallsOffen();
        f.form.einstellungenOeffnen();
        schliessenFallsOffen();
        geschlossen = f.form.close();
        gedrueckt = true;
    });
    f.w->anwendung.vermittlung().StatusSenden("12345678", 3, 0, 0, 1);
    QVERIFY(gedrueckt);
    QVERIFY(!dialogOffen);
    QVERIFY(!geschlossen);
    QVERIFY(f.form.isVisible());
    QVERIFY(!f.w->anwendung.vermittlung().leitungen().getastet());
    QStringList meldungen;
    for (int r = 0; r < f.form.liste(Liste::Meldungen).rowCount(); ++r) meldungen << f.meldung(r);
    QVERIFY(meldungen.contains(QStringLiteral("Einstellungen erst nach dem Senden:\tSender ist getastet")));
    QVERIFY(meldungen.contains(QStringLiteral("Programmende erst nach dem Senden:\tSender ist getastet")));

    // Released: the dialog opens again.
    schliessenFallsOffen();
    f.form.einstellungenOeffnen();
    QVERIFY(dialogOffen);
}

}  // namespace rufpilot::test
