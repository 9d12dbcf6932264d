#include "rufpilot/fenster/form2.h"

#include <QMessageBox>
#include <exception>

#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/config/nummern_pruefung.h"
#include "rufpilot/config/quellen_datei.h"
#include "rufpilot/dispatch/anwendung.h"
#include "rufpilot/dispatch/eingaben.h"
#include "rufpilot/fenster/form3.h"

namespace rufpilot {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void waehlen(QButtonGroup* gruppe, int id) {
    if (QAbstractButton* b = gruppe->button(id)) b->setChecked(true);
}

}  // namespace

Form2::Form2(Anwendung& anwendung, QWidget* parent) : QDialog(parent), anwendung_(anwendung) {
    aufbauen();
    laden();
}

void Form2::laden() {
    Einstellungen& e = anwendung_.einstellungen();
    pegelumkehr_->setChecked(e.pegelumkehr == 1);
    const MsnTabelle& msnSlots = anwendung_.vermittlung().msnTabelle();
    for (std::size_t i = 0; i < msn_.size(); ++i) msn_[i]->setText(q(msnSlots[i]));
    if (e.comPort == 0) e.comPort = 1;
    waehlen(comPort_, e.comPort);
    waehlen(tki_, e.tki);
    waehlen(baustufe_, e.baustufe);
    waehlen(abtastrate_, e.abtastrate);
    vorlauf_->setText(QString::number(e.fmsVorlaufMs));
    soundkarte_->clear();
    for (const std::string& name : anwendung_.soundkarten()) soundkarte_->addItem(q(name));
    if (soundkarte_->count() > 0)
        soundkarte_->setCurrentIndex(e.soundkarte >= 0 && e.soundkarte < soundkarte_->count() ? e.soundkarte : -1);
    quelle_->setzen(quellenLesen(anwendung_.verzeichnis()).werte);
    grid_->setRowCount(0);
    if (const auto tabelle = nummernLesen(anwendung_.nummerndatei())) {
        for (const Nummerneintrag& n : *tabelle) {
            const int r = grid_->rowCount();
            grid_->insertRow(r);
            grid_->setItem(r, 0, new QTableWidgetItem(q(n.kennung)));
            grid_->setItem(r, 1, new QTableWidgetItem(q(n.telefon)));
            grid_->setItem(r, 2, new QTableWidgetItem(q(n.leitung)));
        }
    }
}

void Form2::fehler(const QString& text) { QMessageBox::warning(this, QStringLiteral("Rufpilot"), text); }

void Form2::speichern() {
    Einstellungen e = anwendung_.einstellungen();
    std::array<std::string, 9> msns;
    for (std::size_t i = 0; i < msn_.size(); ++i) {
        msns[i] = msn_[i]->text().toStdString();
        // A ";" would move every following MSN to another status.
        if (msns[i].find(';') != std::string::npos)
            return fehler(QStringLiteral("Nicht gespeichert: die MSN für Status %1 enthält \";\".").arg(i + 1));
        // The dialled MSN arrives as digits; letters could never match.
        if (!msnGueltig(msns[i]))
            return fehler(QStringLiteral("Nicht gespeichert: die MSN für Status %1 darf nur Ziffern enthalten.").arg(i + 1));
    }
    // The telegram carries the Baustufe in one bit: 2 would go on air as 1.
    if (baustufe_->checkedId() > 1)
        return fehler(QStringLiteral("Nicht gespeichert: FMS kennt nur die Baustufen 0 und 1."));
    const std::optional<int> vorlauf = fuehrendeZahl(vorlauf_->text().toStdString());
    if (!vorlauf) return fehler(QStringLiteral("Nicht gespeichert: der FMS-Sendervorlauf ist zu groß."));
    QString quellenFehler;
    const std::optional<Quelleneinstellungen> quelle = quelle_->lesen(quellenFehler);
    if (!quelle) return fehler(quellenFehler);

    e.pegelumkehr = pegelumkehr_->isChecked() ? 1 : 0;
    if (comPort_->checkedId() >= 1) e.comPort = comPort_->checkedId();
    if (tki_->checkedId() >= 0) e.tki = tki_->checkedId();
    if (baustufe_->checkedId() >= 0) e.baustufe = baustufe_->checkedId();
    if (abtastrate_->checkedId() >= 0) e.abtastrate = abtastrate_->checkedId();
    e.fmsVorlaufMs = *vorlauf;
    if (soundkarte_->count() > 0 && soundkarte_->currentIndex() >= 0) e.soundkarte = soundkarte_->currentIndex();
    e.msnListe = msnListeBauen(msns);
    try {
        anwendung_.einstellungenSpeichern(e);
    } catch (const std::exception& f) {
        fehler(QStringLiteral("server.ini nicht gespeichert:\n") + QString::fromLocal8Bit(f.what()));
    }
    quelleSpeichern(*quelle);
}

void Form2::quelleSpeichern(const Quelleneinstellungen& neu) {
    try {
        anwendung_.quelleSpeichern(neu);
    } catch (const std::exception& f) {
        return fehler(QStringLiteral("rufquelle.ini nicht gespeichert:\n") + QString::fromLocal8Bit(f.what()));
    }
}

void Form2::neu() {
    Form3 dialog(this);
    dialog.exec();
    const NeueKennung& n = dialog.ergebnis();
    if (n.angenommen != 1) return;
    try {
        anwendung_.nummerAnhaengen({n.kennung, n.telefon, n.leitung});
    } catch (const std::exception& f) {
        return fehler(QStringLiteral("Eintrag nicht gespeichert:\n") + QString::fromLocal8Bit(f.what()));
    }
    const int r = grid_->rowCount();
    grid_->insertRow(r);
    grid_->setItem(r, 0, new QTableWidgetItem(q(n.kennung)));
    grid_->setItem(r, 1, new QTableWidgetItem(q(n.telefon)));
    grid_->setItem(r, 2, new QTableWidgetItem(q(n.leitung)));
}

void Form2::loeschen() {
    const QList<QTableWidgetItem*> auswahl = grid_->selectedItems();
    if (auswahl.isEmpty()) return;
    const int zeile = auswahl.front()->row();
    if (QMessageBox::question(this, QStringLiteral("Rufpilot"), QStringLiteral("wirklich löschen ?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    const auto zelle = [&](int s) { return grid_->item(zeile, s) ? grid_->item(zeile, s)->text().toStdString() : ""; };
    // Only that record's line goes: lines the grid never showed (records with
    // fewer than three fields, say) stay in the file as they are. The file
    // first: a row that cannot be removed from it stays in the grid.
    try {
        if (!anwendung_.nummerEntfernen(static_cast<std::size_t>(zeile), {zelle(0), zelle(1), zelle(2)}))
            return fehler(QStringLiteral("Nicht gelöscht: der Eintrag steht nicht mehr so in der Datei."));
    } catch (const std::exception& f) {
        return fehler(QStringLiteral("Nicht gelöscht:\n") + QString::fromLocal8Bit(f.what()));
    }
    grid_->removeRow(zeile);
}

void Form2::hilfe() {
    QMessageBox::information(this, QStringLiteral("Rufpilot"),
                             QStringLiteral("Die MSN ist eine von 10 Rufnummern, die kostenlos von der Telekom "
                                            "zugeteilt werden können (wichtig: OHNE VORWAHL eingeben)"));
}

}  // namespace rufpilot
