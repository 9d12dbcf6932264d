#include "rufpilot/fenster/form3.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "rufpilot/config/nummern_pruefung.h"
#include "rufpilot/dispatch/eingaben.h"
#include "rufpilot/fenster/farben.h"

namespace rufpilot {

Form3::Form3(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Neue FMS-Kennung"));
    setModal(true);
    einfaerben(this, kDunkelblau);

    kennung_ = new QLineEdit(this);
    kennung_->setObjectName(QStringLiteral("kennung"));
    telefon_ = new QLineEdit(this);
    telefon_->setObjectName(QStringLiteral("telefon"));
    auto* felder = new QGridLayout;
    felder->addWidget(new QLabel(QStringLiteral("FMS-Kennung:"), this), 0, 0);
    felder->addWidget(kennung_, 0, 1);
    felder->addWidget(new QLabel(QStringLiteral("Telefonnummer:"), this), 1, 0);
    felder->addWidget(telefon_, 1, 1);

    auto* rahmen = new QGroupBox(QStringLiteral("Senden über Leitung"), this);
    einfaerben(rahmen, kHellblau);
    dtr_ = new QRadioButton(QStringLiteral("DTR"), rahmen);
    rts_ = new QRadioButton(QStringLiteral("RTS"), rahmen);
    dtr_->setObjectName(QStringLiteral("dtr"));
    rts_->setObjectName(QStringLiteral("rts"));
    dtr_->setChecked(true);
    auto* leitungen = new QHBoxLayout(rahmen);
    leitungen->addWidget(dtr_);
    leitungen->addWidget(rts_);
    leitungen->addStretch();

    auto* speichernKnopf = new QPushButton(QStringLiteral("speichern"), this);
    auto* zurueckKnopf = new QPushButton(QStringLiteral("zurück"), this);
    auto* hilfeKnopf = new QPushButton(QStringLiteral("Hilfe"), this);
    speichernKnopf->setObjectName(QStringLiteral("speichern"));
    zurueckKnopf->setObjectName(QStringLiteral("zurueck"));
    hilfeKnopf->setObjectName(QStringLiteral("hilfe"));
    for (QPushButton* k : {speichernKnopf, zurueckKnopf, hilfeKnopf}) k->setAutoDefault(false);
    connect(speichernKnopf, &QPushButton::clicked, this, &Form3::speichern);
    connect(zurueckKnopf, &QPushButton::clicked, this, &Form3::zurueck);
    connect(hilfeKnopf, &QPushButton::clicked, this, &Form3::hilfe);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(speichernKnopf);
    knoepfe->addWidget(zurueckKnopf);
    knoepfe->addStretch();
    knoepfe->addWidget(hilfeKnopf);

    auto* gesamt = new QVBoxLayout(this);
    gesamt->addLayout(felder);
    gesamt->addWidget(rahmen);
    gesamt->addLayout(knoepfe);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
}

void Form3::speichern() {
    ergebnis_.kennung = kennung_->text().toStdString();
    ergebnis_.telefon = telefon_->text().toStdString();
    ergebnis_.leitung = dtr_->isChecked() ? "DTR" : "RTS";
    // Separators are dropped as typed ("0171/1234567"): the caller's number
    // arrives as digits and must match the entry exactly.
    const std::optional<std::string> telefon = telefonNormalisiert(ergebnis_.telefon);
    if (telefon) ergebnis_.telefon = *telefon;
    const auto ablehnen = [&](const QString& text) {
        QMessageBox::information(this, QStringLiteral("Rufpilot"), text);
        ergebnis_.angenommen = 0;
    };
    if (!eintragGueltig(ergebnis_.kennung, ergebnis_.telefon)) {
        ablehnen(QStringLiteral("FMS-Kennung muß 8-stellig sein und Telefon mind. 5-stellig"));
    } else if (const auto fehler = kennungFehler(ergebnis_.kennung)) {
        ablehnen(QString::fromStdString(*fehler + " (Ziffern 0-9 und A-F)"));
    } else if (!telefon) {
        ablehnen(QStringLiteral("Die Telefonnummer darf nur Ziffern enthalten"));
    } else {
        ergebnis_.kennung = kennungGross(ergebnis_.kennung);
        ergebnis_.angenommen = 1;
    }
    // A refused entry is typed again after another "Neu".
    done(ergebnis_.angenommen == 1 ? QDialog::Accepted : QDialog::Rejected);
}

void Form3::zurueck() {
    ergebnis_.angenommen = 0;
    reject();
}

void Form3::hilfe() {
    QMessageBox::information(
        this, QStringLiteral("Rufpilot"),
        QStringLiteral("An dem ausgewählten Com-Port können für jede FMS-Kennung zwei Leitungen getrennt\n"
                       "voneinander getastet werden (DTR oder RTS).\n"
                       "So ist es möglich, zwei Funkgeräte mit unterschiedlichen Funkkanälen\n"
                       "anzusteuern."));
}

}  // namespace rufpilot
