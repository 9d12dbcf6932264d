#include "rufpilot/fenster/form1.h"

#include <QApplication>
#include <QMessageBox>

#include "rufpilot/dispatch/anwendung.h"
#include "rufpilot/dispatch/eingaben.h"
#include "rufpilot/fenster/form2.h"
#include "rufpilot/fenster/trayicon_bild.h"

namespace rufpilot {

namespace {

QColor farbwert(Farbe f) {
    switch (f) {
        case Farbe::Rot: return QColor(220, 0, 0);
        case Farbe::Gruen: return QColor(0, 190, 0);
        case Farbe::Gelb: return QColor(255, 220, 0);
        case Farbe::Schwarz: break;
    }
    return QColor(Qt::black);
}

std::string text(const QLineEdit* feld) { return feld->text().toStdString(); }

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    trayVorhanden = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    aufbauen();
}

Form1::~Form1() = default;

void Form1::anbinden(Anwendung& anwendung) { anwendung_ = &anwendung; }

void Form1::listenEinrichten() {
    grid2_->einrichten();
    grid3_->einrichten();
    grid4_->einrichten();
}

Rufliste& Form1::liste(Liste l) {
    switch (l) {
        case Liste::Anrufe: return *grid2_;
        case Liste::Fms: return *grid3_;
        case Liste::Meldungen: break;
    }
    return *grid4_;
}

void Form1::zeileEinfuegen(Liste l, const std::string& zeile) { liste(l).zeileEinfuegen(zeile); }

void Form1::listeLeeren(Liste l) { liste(l).leeren(); }

void Form1::aeltesteEntfernen(Liste l) {
    Rufliste& r = liste(l);
    if (r.rowCount() > 0) r.removeRow(r.rowCount() - 1);
}

void Form1::pegel(const std::string& links, const std::string& rechts) {
    pegelLinks_->setText(QString::fromStdString(links));
    pegelRechts_->setText(QString::fromStdString(rechts));
}

void Form1::countdown(bool sichtbar, const std::string& t) {
    text6_->setText(QString::fromStdString(t));
    text6_->setVisible(sichtbar);
}

Leuchte& Form1::leuchte(Lampe l) {
    switch (l) {
        case Lampe::Capi: return *capi_;
        case Lampe::Soundkarte: return *soundkarte_;
        case Lampe::Port1: return *ports_[0];
        case Lampe::Port2: return *ports_[1];
        case Lampe::Port3: return *ports_[2];
        case Lampe::Port4: break;
    }
    return *ports_[3];
}

void Form1::lampe(Lampe l, Farbe f) { leuchte(l).farbeSetzen(farbwert(f)); }

Leuchte& Form1::anzeige(int port, int leitung) {
    return *anzeigen_[static_cast<std::size_t>(port - 1)][leitung == 1 ? 0 : 1];
}

void Form1::leitung(int port, int leitung, bool hoch) {
    if (port < 1 || port > 4) return;
    anzeige(port, leitung).hochSetzen(hoch);
}

void Form1::fmsTesten() {
    if (!anwendung_) return;
    const std::optional<int> status = fmsTestStatus(text(text4_), text(text2_));
    if (!status) return;
    const Einstellungen e = anwendung_->einstellungen();
    anwendung_->vermittlung().StatusSenden(text(text2_), *status, e.baustufe, e.tki, dtr_->isChecked() ? 1 : 2);
}

void Form1::handyTesten() {
    if (!anwendung_ || !handyTestMoeglich(text(text3_), text(text5_))) return;
    anwendung_->vermittlung().rueckrufer().Rueckruf(text(text3_), text(text5_), 0);
}

bool Form1::dialogErlaubt(const char* was) {
    if (!anwendung_->vermittlung().leitungen().getastet()) return true;
    anwendung_->vermittlung().MeldungSchreiben(std::string(was) + " erst nach dem Senden:\tSender ist getastet");
    return false;
}

void Form1::einstellungenOeffnen() {
    if (!anwendung_ || !dialogErlaubt("Einstellungen")) return;
    {
        Form2 dialog(*anwendung_, this);
        dialog.exec();
    }
    anwendung_->einstellungenNeuLaden();
}

void Form1::inDenTray() {
    if (!trayVorhanden()) {
        // Hiding without an icon to click would leave no way back.
        showMinimized();
        if (anwendung_)
            anwendung_->vermittlung().MeldungSchreiben("Kein Infobereich für das Trayicon:\tFenster nur minimiert");
        return;
    }
    if (!tray_) {
        tray_ = new QSystemTrayIcon(trayiconBild(), this);
        tray_->setToolTip(QStringLiteral("Server vergrößern"));
        connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason grund) {
            if (grund == QSystemTrayIcon::Trigger) ausDemTray();
        });
    }
    hide();
    tray_->show();
}

void Form1::ausDemTray() {
    showNormal();
    raise();
    activateWindow();
}

void Form1::hinweisZeigen() {
    text1_->setText(QStringLiteral("bitte warten, die Soundkarte(n) werden reinitialisiert ..."));
    text1_->show();
    text1_->raise();
    text1_->repaint();
}

void Form1::closeEvent(QCloseEvent* e) {
    if (beendet_ || !anwendung_) {
        e->accept();
        return;
    }
    if (!dialogErlaubt("Programmende")) {
        e->ignore();
        return;
    }
    const auto antwort = QMessageBox::question(this, QStringLiteral("Rufpilot"),
                                               QStringLiteral("Programm wirklich beenden ?"),
                                               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (antwort != QMessageBox::Yes) {
        e->ignore();
        unsetCursor();
        return;
    }
    abschalten();
    e->accept();
}

void Form1::abschalten() {
    if (beendet_ || !anwendung_) return;
    beendet_ = true;
    anwendung_->beenden([this](Abschaltschritt schritt) {
        switch (schritt) {
            case Abschaltschritt::TimerAngehalten:
                emit abschaltschritt(QStringLiteral("Timer"));
                if (tray_) tray_->hide();
                emit abschaltschritt(QStringLiteral("Trayicon"));
                break;
            case Abschaltschritt::PortGeschlossen:
                emit abschaltschritt(QStringLiteral("Port"));
                hinweisZeigen();
                emit abschaltschritt(QStringLiteral("Hinweis"));
                break;
            case Abschaltschritt::SoundGestoppt:
                emit abschaltschritt(QStringLiteral("Soundstop"));
                unsetCursor();
                hinweisZeigen();
                break;
            case Abschaltschritt::CapiFreigegeben: emit abschaltschritt(QStringLiteral("CapiStop")); break;
        }
    });
    emit geschlossen();
}

}  // namespace rufpilot
