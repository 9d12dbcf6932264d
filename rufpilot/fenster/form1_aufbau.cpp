// The layout of the main window: the call and FMS lists on top, the lamps,
// the test area and the buttons in the middle, the message list below.
#include <QGridLayout>
#include <QHeaderView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "rufpilot/fenster/farben.h"
#include "rufpilot/fenster/form1.h"
#include "rufpilot/fenster/klick_label.h"
#include "rufpilot/fenster/trayicon_bild.h"

namespace rufpilot {

namespace {

QPushButton* knopf(const QString& text, const char* name, QWidget* eltern) {
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(QString::fromLatin1(name));
    k->setAutoDefault(false);
    return k;
}

QLineEdit* feld(const char* name, int breite, QWidget* eltern) {
    auto* f = new QLineEdit(eltern);
    f->setObjectName(QString::fromLatin1(name));
    f->setFixedWidth(breite);
    return f;
}

}  // namespace

void Form1::aufbauen() {
    setWindowTitle(QStringLiteral("Rufpilot"));
    setWindowIcon(trayiconBild());
    setFixedSize(kBreite, kHoehe);  // the window keeps its size
    QFont basis = font();
    basis.setPixelSize(12);
    setFont(basis);

    grid2_ = new Rufliste({{"Uhrzeit", 800}, {"Anrufer", 1250}, {"MSN", 840}, {"FMS", 850}, {"St.", 300},
                           {"Com", 450}, {"Quitt", 600}},
                          this);
    grid3_ = new Rufliste({{"Uhrzeit", 800}, {"Kennung", 980}, {"Status", 700}, {"Rtg.", 900}, {"Text", 1700}}, this);
    grid4_ = new Rufliste({{"Uhrzeit", 800}, {"Meldung", 2160}, {"Zusatzmeldung", 2140}}, this);
    grid2_->setObjectName(QStringLiteral("grid2"));
    grid3_->setObjectName(QStringLiteral("grid3"));
    grid4_->setObjectName(QStringLiteral("grid4"));
    grid4_->horizontalHeader()->setStretchLastSection(true);

    // --- lamps, line indicators, levels ---
    for (Rufliste* l : {grid2_, grid3_, grid4_}) l->setMinimumWidth(300);

    auto* zustand = new QGroupBox(this);
    zustand->setFixedWidth(222);
    auto* z = new QGridLayout(zustand);
    z->setContentsMargins(6, 6, 6, 6);
    z->setHorizontalSpacing(3);
    z->setVerticalSpacing(5);
    capi_ = new Leuchte(Leuchte::Form::Kreis, zustand);
    soundkarte_ = new Leuchte(Leuchte::Form::Kreis, zustand);
    auto* lampenZeile = new QHBoxLayout;
    lampenZeile->addWidget(capi_);
    lampenZeile->addWidget(new QLabel(QStringLiteral("Capi"), zustand));
    lampenZeile->addSpacing(10);
    lampenZeile->addWidget(soundkarte_);
    lampenZeile->addWidget(new QLabel(QStringLiteral("Soundkarte"), zustand));
    lampenZeile->addStretch();
    z->addLayout(lampenZeile, 0, 0, 1, 6);
    auto* comTitel = new QLabel(QStringLiteral("Com-Ports\n(1-4)"), zustand);
    z->addWidget(comTitel, 1, 0);
    z->addWidget(new QLabel(QStringLiteral("DTR  RTS"), zustand), 2, 0);
    for (int p = 0; p < 4; ++p) {
        ports_[static_cast<std::size_t>(p)] = new Leuchte(Leuchte::Form::Kreis, zustand);
        z->addWidget(ports_[static_cast<std::size_t>(p)], 1, p + 1, Qt::AlignCenter);
        auto* paar = new QHBoxLayout;
        paar->setSpacing(2);
        for (int l = 0; l < 2; ++l) {
            anzeigen_[static_cast<std::size_t>(p)][static_cast<std::size_t>(l)] =
                new Leuchte(Leuchte::Form::Quadrat, zustand);
            paar->addWidget(anzeigen_[static_cast<std::size_t>(p)][static_cast<std::size_t>(l)]);
        }
        z->addLayout(paar, 2, p + 1, Qt::AlignCenter);
    }
    auto* pegelZeile = new QHBoxLayout;
    pegelZeile->setSpacing(4);
    pegelZeile->addWidget(new QLabel(QStringLiteral("Soundpegel:"), zustand));
    pegelZeile->addSpacing(4);
    pegelZeile->addWidget(new QLabel(QStringLiteral("L:"), zustand));
    pegelLinks_ = new QLabel(QStringLiteral("0 %"), zustand);
    pegelLinks_->setObjectName(QStringLiteral("pegelLinks"));
    pegelLinks_->setMinimumWidth(34);
    pegelZeile->addWidget(pegelLinks_);
    pegelZeile->addWidget(new QLabel(QStringLiteral("R:"), zustand));
    pegelRechts_ = new QLabel(QStringLiteral("0 %"), zustand);
    pegelRechts_->setObjectName(QStringLiteral("pegelRechts"));
    pegelRechts_->setMinimumWidth(34);
    pegelZeile->addWidget(pegelRechts_);
    pegelZeile->addStretch();
    z->addLayout(pegelZeile, 3, 0, 1, 6);
    z->setColumnMinimumWidth(0, 72);
    z->setColumnStretch(5, 1);

    // --- test area ---
    auto* test = new QGroupBox(QStringLiteral("Einstellungen testen"), this);
    test->setFixedWidth(286);
    test->setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; } QGroupBox::title { color: %1; }")
                            .arg(kDunkelblau.name()));
    auto* t = new QGridLayout(test);
    t->setContentsMargins(8, 4, 8, 4);
    t->setHorizontalSpacing(6);
    t->setVerticalSpacing(4);
    text2_ = feld("Text2", 78, test);
    text2_->setMaxLength(8);
    text4_ = feld("Text4", 34, test);
    text5_ = feld("Text5", 70, test);
    text3_ = feld("Text3", 104, test);
    auto* kennungZeile = new QHBoxLayout;
    kennungZeile->addWidget(text2_);
    kennungZeile->addWidget(new QLabel(QStringLiteral("(max. 8-stellig)"), test));
    kennungZeile->addSpacing(8);
    kennungZeile->addWidget(new QLabel(QStringLiteral("Status:"), test));
    kennungZeile->addWidget(text4_);
    kennungZeile->addStretch();
    t->addLayout(kennungZeile, 0, 0, 1, 4);
    dtr_ = new QRadioButton(QStringLiteral("DTR"), test);
    rts_ = new QRadioButton(QStringLiteral("RTS"), test);
    dtr_->setObjectName(QStringLiteral("Option1_0"));
    rts_->setObjectName(QStringLiteral("Option1_1"));
    dtr_->setChecked(true);
    einfaerben(dtr_, kHellblau);
    einfaerben(rts_, kHellblau);
    auto* msnZeile = new QHBoxLayout;
    msnZeile->addWidget(dtr_);
    msnZeile->addWidget(rts_);
    msnZeile->addSpacing(8);
    msnZeile->addWidget(new QLabel(QStringLiteral("MSN:"), test));
    msnZeile->addWidget(text5_);
    msnZeile->addStretch();
    t->addLayout(msnZeile, 1, 0, 1, 4);
    auto* fms = knopf(QStringLiteral("FMS"), "Command4", test);
    auto* handy = knopf(QStringLiteral("Handy"), "Command1", test);
    auto* fmsLabel = new KlickLabel(QStringLiteral("Status senden"), test);
    auto* handyLabel = new KlickLabel(QStringLiteral("Rückruf an:"), test);
    fmsLabel->setObjectName(QStringLiteral("LabelFMS"));
    handyLabel->setObjectName(QStringLiteral("LabelHandy"));
    t->addWidget(fms, 2, 0);
    t->addWidget(fmsLabel, 2, 1, 1, 3);
    t->addWidget(handy, 3, 0);
    auto* handyZeile = new QHBoxLayout;
    handyZeile->addWidget(handyLabel);
    handyZeile->addWidget(text3_);
    handyZeile->addStretch();
    t->addLayout(handyZeile, 3, 1, 1, 3);
    t->setColumnStretch(3, 1);

    // --- buttons ---
    auto* knoepfe = new QGroupBox(this);
    knoepfe->setFixedWidth(199);
    auto* k = new QGridLayout(knoepfe);
    k->setContentsMargins(8, 6, 8, 6);
    k->setVerticalSpacing(6);
    auto* einstellungen = knopf(QStringLiteral("Einstellungen"), "Command3", knoepfe);
    auto* tray = knopf(QStringLiteral("in den Tray"), "Command5", knoepfe);
    tray->setToolTip(QStringLiteral("Server soll nur als Trayicon angezeigt werden"));
    auto* ende = knopf(QStringLiteral("Programmende"), "Command2", knoepfe);
    auto* einstellungenLabel = new KlickLabel(QStringLiteral("bearbeiten"), knoepfe);
    auto* trayLabel = new KlickLabel(QStringLiteral("ausblenden"), knoepfe);
    auto* endeLabel = new KlickLabel(QStringLiteral("beenden"), knoepfe);
    einstellungenLabel->setObjectName(QStringLiteral("LabelEinstellungen"));
    trayLabel->setObjectName(QStringLiteral("LabelTray"));
    endeLabel->setObjectName(QStringLiteral("LabelProgrammende"));
    k->addWidget(einstellungen, 0, 0);
    k->addWidget(einstellungenLabel, 0, 1);
    k->addWidget(tray, 1, 0);
    k->addWidget(trayLabel, 1, 1);
    k->addWidget(ende, 2, 0);
    k->addWidget(endeLabel, 2, 1);
    text6_ = new QLabel(knoepfe);
    text6_->setObjectName(QStringLiteral("Text6"));
    text6_->setAlignment(Qt::AlignCenter);
    einfaerben(text6_, kDunkelblau, &kHellblau);
    QFont fett = text6_->font();
    fett.setBold(true);
    text6_->setFont(fett);
    text6_->hide();
    k->addWidget(text6_, 3, 0, 1, 2);
    k->setRowStretch(4, 1);

    for (QPushButton* b : {fms, handy}) b->setFixedWidth(70);
    for (QPushButton* b : {einstellungen, tray, ende}) b->setFixedWidth(104);
    connect(fms, &QPushButton::clicked, this, &Form1::fmsTesten);
    connect(fmsLabel, &KlickLabel::geklickt, this, &Form1::fmsTesten);
    connect(handy, &QPushButton::clicked, this, &Form1::handyTesten);
    connect(handyLabel, &KlickLabel::geklickt, this, &Form1::handyTesten);
    connect(einstellungen, &QPushButton::clicked, this, &Form1::einstellungenOeffnen);
    connect(einstellungenLabel, &KlickLabel::geklickt, this, &Form1::einstellungenOeffnen);
    connect(tray, &QPushButton::clicked, this, &Form1::inDenTray);
    connect(trayLabel, &KlickLabel::geklickt, this, &Form1::inDenTray);
    connect(ende, &QPushButton::clicked, this, &QWidget::close);
    connect(endeLabel, &KlickLabel::geklickt, this, &QWidget::close);

    auto* oben = new QHBoxLayout;
    oben->addWidget(grid2_);
    oben->addWidget(grid3_);
    auto* mitte = new QHBoxLayout;
    mitte->addWidget(zustand);
    mitte->addWidget(test, 1);
    mitte->addWidget(knoepfe);
    auto* gesamt = new QVBoxLayout(this);
    gesamt->setContentsMargins(6, 6, 6, 6);
    gesamt->setSpacing(6);
    gesamt->addLayout(oben, 1);
    gesamt->addLayout(mitte, 0);
    gesamt->addWidget(grid4_, 1);

    // The notice covers the middle of the window while it shuts down.
    text1_ = new QLabel(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setAlignment(Qt::AlignCenter);
    einfaerben(text1_, kDunkelblau, &kHellblau);
    text1_->setFont(fett);
    text1_->setGeometry(40, kHoehe / 2 - 25, kBreite - 80, 50);
    text1_->hide();
}

}  // namespace rufpilot
