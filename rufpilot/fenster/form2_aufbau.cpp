// The layout of the settings dialog: port and FMS settings on the left, the
// nine MSNs with their explanation and the call source on the right, the
// number table below.
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "rufpilot/fenster/farben.h"
#include "rufpilot/fenster/form2.h"

namespace rufpilot {

namespace {

QLabel* ueberschrift(const QString& text, QWidget* eltern) {
    auto* l = new QLabel(text, eltern);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    l->setFont(f);
    return l;
}

QLabel* erklaerung(const QString& text, QWidget* eltern) {
    auto* l = new QLabel(text, eltern);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// A light-blue frame holding a caption and a row of option buttons.
QFrame* optionen(const QString& titel, const QStringList& texte, int ersteId, QButtonGroup*& gruppe,
                 const QString& name, QWidget* eltern) {
    auto* rahmen = new QFrame(eltern);
    einfaerben(rahmen, kHellblau);
    auto* zeile = new QHBoxLayout(rahmen);
    zeile->setContentsMargins(6, 3, 6, 3);
    auto* beschriftung = new QLabel(titel, rahmen);
    beschriftung->setMinimumWidth(78);
    zeile->addWidget(beschriftung);
    gruppe = new QButtonGroup(rahmen);
    for (int i = 0; i < texte.size(); ++i) {
        auto* b = new QRadioButton(texte[i], rahmen);
        b->setObjectName(name + QString::number(ersteId + i));
        gruppe->addButton(b, ersteId + i);
        zeile->addWidget(b);
    }
    zeile->addStretch();
    return rahmen;
}

QPushButton* knopf(const QString& text, const char* name, QWidget* eltern) {
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(QString::fromLatin1(name));
    k->setAutoDefault(false);
    return k;
}

}  // namespace

void Form2::aufbauen() {
    setWindowTitle(QStringLiteral("Rufnummern und MSN"));
    setModal(true);
    einfaerben(this, kDunkelblau);

    // --- port and FMS settings ---
    auto* links = new QVBoxLayout;
    links->setSpacing(5);
    links->addWidget(ueberschrift(QStringLiteral("Com-Einstellungen"), this));
    links->addWidget(optionen(QStringLiteral("Com-Port:"), {"1", "2", "3", "4"}, 1, comPort_, "comPort", this));
    auto* umkehr = new QFrame(this);
    einfaerben(umkehr, kHellblau);
    auto* umkehrZeile = new QVBoxLayout(umkehr);
    umkehrZeile->setContentsMargins(6, 3, 6, 3);
    pegelumkehr_ = new QCheckBox(QStringLiteral("Pegelumkehr der COM-Schnittstellen:"), umkehr);
    pegelumkehr_->setObjectName(QStringLiteral("pegelumkehr"));
    umkehrZeile->addWidget(pegelumkehr_);
    umkehrZeile->addWidget(erklaerung(QStringLiteral("Statt +12V für Low sollen -12V für Low an die Schnittstelle "
                                                     "(d.h. COM schon bei Programmstart auf -12V schalten)"),
                                      umkehr));
    links->addWidget(umkehr);
    links->addSpacing(6);
    links->addWidget(ueberschrift(QStringLiteral("FMS-Einstellungen"), this));
    links->addWidget(optionen(QStringLiteral("TKI:"), {"1", "2", "3", "4"}, 0, tki_, "tki", this));
    links->addWidget(optionen(QStringLiteral("Baustufe:"), {"0", "1", "2"}, 0, baustufe_, "baustufe", this));
    auto* vorlaufZeile = new QHBoxLayout;
    vorlauf_ = new QLineEdit(QStringLiteral("200"), this);
    vorlauf_->setObjectName(QStringLiteral("vorlauf"));
    vorlauf_->setFixedWidth(50);
    vorlaufZeile->addWidget(vorlauf_, 0, Qt::AlignTop);
    vorlaufZeile->addWidget(erklaerung(QStringLiteral("Millisekunden  FMS-Sendervorlauf (Zeit zwischen Sendertastung "
                                                      "und Aussenden des Wave-Sounds über die Soundkarte)"),
                                       this),
                            1);
    links->addLayout(vorlaufZeile);
    auto* soundZeile = new QHBoxLayout;
    soundZeile->addWidget(new QLabel(QStringLiteral("Soundkarte:"), this));
    soundkarte_ = new QComboBox(this);
    soundkarte_->setObjectName(QStringLiteral("soundkarte"));
    soundkarte_->setMinimumWidth(220);
    soundZeile->addWidget(soundkarte_, 1);
    links->addLayout(soundZeile);
    links->addWidget(optionen(QStringLiteral("Samplerate:"), {"11.025 Hz", "22.050 Hz", "44.100 Hz"}, 0, abtastrate_,
                              "abtastrate", this));
    links->addWidget(erklaerung(QStringLiteral("(Samplerate gilt ab dem nächsten Programmstart)"), this));
    links->addStretch();

    // --- the nine MSNs ---
    auto* msnSpalte = new QGridLayout;
    msnSpalte->setVerticalSpacing(3);
    auto* kopf = new QLabel(QStringLiteral("     MSN              Status"), this);
    kopf->setTextFormat(Qt::PlainText);
    msnSpalte->addWidget(kopf, 0, 0, 1, 2);
    for (int i = 0; i < 9; ++i) {
        msn_[static_cast<std::size_t>(i)] = new QLineEdit(this);
        msn_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("msn%1").arg(i + 1));
        msn_[static_cast<std::size_t>(i)]->setFixedWidth(110);
        msnSpalte->addWidget(msn_[static_cast<std::size_t>(i)], i + 1, 0);
        msnSpalte->addWidget(new QLabel(QString::number(i + 1), this), i + 1, 1, Qt::AlignCenter);
    }
    msnSpalte->setRowStretch(10, 1);
    auto* beispiel = new QVBoxLayout;
    beispiel->setSpacing(4);
    beispiel->addWidget(erklaerung(QStringLiteral("Wenn das Handy eine bestimmte Rufnummer (MSN) anwählt, wird diese "
                                                  "einem Status zugeordnet."),
                                   this));
    beispiel->addSpacing(4);
    beispiel->addWidget(new QLabel(QStringLiteral("Beispiel:"), this));
    beispiel->addWidget(new QLabel(QStringLiteral("0171 1234567 wählt die 4711"), this));
    beispiel->addWidget(new QLabel(QStringLiteral("das bedeutet:"), this));
    beispiel->addWidget(new QLabel(QStringLiteral("FMS 12345678 bekommt Status 1"), this));
    beispiel->addSpacing(4);
    auto* vorwahl = new QLabel(QStringLiteral("ohne Vorwahl !!!"), this);
    QFont fett = vorwahl->font();
    fett.setBold(true);
    vorwahl->setFont(fett);
    beispiel->addWidget(vorwahl);
    auto* hilfeKnopf = knopf(QStringLiteral("Hilfe"), "hilfe", this);
    beispiel->addWidget(hilfeKnopf, 0, Qt::AlignLeft);
    beispiel->addStretch();
    auto* rechts = new QHBoxLayout;
    rechts->addLayout(msnSpalte);
    rechts->addSpacing(8);
    rechts->addLayout(beispiel, 1);
    // --- where calls come from ---
    auto* rechtsGesamt = new QVBoxLayout;
    rechtsGesamt->addLayout(rechts);
    rechtsGesamt->addSpacing(6);
    rechtsGesamt->addWidget(ueberschrift(QStringLiteral("Anrufquelle"), this));
    quelle_ = new QuellenAbschnitt(this);
    rechtsGesamt->addWidget(quelle_);

    // --- the number table ---
    grid_ = new QTableWidget(0, 3, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("FMS"), QStringLiteral("Telefon"), QStringLiteral("Leitung")});
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    grid_->setColumnWidth(0, 100);
    grid_->setColumnWidth(1, 150);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setMinimumHeight(130);
    grid_->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; border: 0px; "
                                        "border-right: 1px solid %2; border-bottom: 1px solid %2; padding: 1px 3px; }")
                             .arg(kHellblau.name(), kDunkelblau.name()));
    auto* neuKnopf = knopf(QStringLiteral("Neu"), "neu", this);
    auto* loeschenKnopf = knopf(QStringLiteral("löschen"), "loeschen", this);
    auto* tabelleRechts = new QVBoxLayout;
    tabelleRechts->addWidget(erklaerung(QStringLiteral("Eine eingehende Handyrufnummer kann einem bestimmten Fahrzeug "
                                                       "(FMS-Kennung) zugeordnet werden."),
                                        this));
    tabelleRechts->addWidget(erklaerung(QStringLiteral("Handynummer ohne Schrägstrich \"/\" eingeben"), this));
    tabelleRechts->addStretch();
    auto* neuLoeschen = new QHBoxLayout;
    neuLoeschen->addWidget(neuKnopf);
    neuLoeschen->addWidget(loeschenKnopf);
    neuLoeschen->addStretch();
    tabelleRechts->addLayout(neuLoeschen);
    auto* unten = new QHBoxLayout;
    unten->addWidget(grid_, 3);
    unten->addLayout(tabelleRechts, 2);

    auto* speichernKnopf = knopf(QStringLiteral("speichern"), "speichern", this);
    auto* zurueckKnopf = knopf(QStringLiteral("zurück"), "zurueck", this);
    auto* schluss = new QHBoxLayout;
    schluss->addStretch();
    schluss->addWidget(speichernKnopf);
    schluss->addWidget(zurueckKnopf);

    auto* oben = new QHBoxLayout;
    oben->setSpacing(16);
    oben->addLayout(links, 1);
    oben->addLayout(rechtsGesamt, 1);
    auto* gesamt = new QVBoxLayout(this);
    gesamt->addLayout(oben);
    gesamt->addSpacing(6);
    gesamt->addLayout(unten, 1);
    gesamt->addLayout(schluss);

    connect(hilfeKnopf, &QPushButton::clicked, this, &Form2::hilfe);
    connect(neuKnopf, &QPushButton::clicked, this, &Form2::neu);
    connect(loeschenKnopf, &QPushButton::clicked, this, &Form2::loeschen);
    connect(speichernKnopf, &QPushButton::clicked, this, &Form2::speichern);
    connect(zurueckKnopf, &QPushButton::clicked, this, &QDialog::reject);
    resize(800, 760);
}

}  // namespace rufpilot
