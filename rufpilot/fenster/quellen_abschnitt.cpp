#include "rufpilot/fenster/quellen_abschnitt.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "rufpilot/fenster/farben.h"

namespace rufpilot {

namespace {

QLineEdit* feld(const char* name, QWidget* eltern) {
    auto* f = new QLineEdit(eltern);
    f->setObjectName(QString::fromLatin1(name));
    return f;
}

// Host and user names end up in a file of "name=value" lines and in network
// addresses: no blanks, no control characters.
bool sauber(const QString& text) {
    for (const QChar c : text)
        if (c.isSpace() || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
    return text.toStdString().size() <= 255;
}

}  // namespace

QuellenAbschnitt::QuellenAbschnitt(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("anrufquelle"));
    einfaerben(this, kHellblau);
    auto* gesamt = new QVBoxLayout(this);
    gesamt->setContentsMargins(6, 3, 6, 3);
    auto* formular = new QFormLayout;
    formular->setVerticalSpacing(3);
    quelle_ = new QComboBox(this);
    quelle_->setObjectName(QStringLiteral("quelle"));
    quelle_->addItems({QStringLiteral("CAPI 2.0"), QStringLiteral("SIP"), QStringLiteral("Anrufmonitor des Routers")});
    formular->addRow(QStringLiteral("Quelle:"), quelle_);
    registrar_ = feld("registrar", this);
    registrar_->setPlaceholderText(QStringLiteral("z. B. fritz.box"));
    formular->addRow(QStringLiteral("Registrar:"), registrar_);
    benutzer_ = feld("benutzer", this);
    formular->addRow(QStringLiteral("Benutzer:"), benutzer_);
    passwort_ = feld("passwort", this);
    passwort_->setEchoMode(QLineEdit::Password);
    formular->addRow(QStringLiteral("Passwort:"), passwort_);
    monitorHost_ = feld("monitorHost", this);
    monitorHost_->setPlaceholderText(QStringLiteral("z. B. 192.168.178.1"));
    formular->addRow(QStringLiteral("Anrufmonitor:"), monitorHost_);
    monitorPort_ = feld("monitorPort", this);
    monitorPort_->setFixedWidth(60);
    formular->addRow(QStringLiteral("Port:"), monitorPort_);
    gesamt->addLayout(formular);
    auto* hinweis = new QLabel(QStringLiteral("(Anrufquelle gilt ab dem nächsten Programmstart; beim Anrufmonitor "
                                              "laufen Rückrufe über das SIP-Konto, wenn eines eingetragen ist)"),
                               this);
    hinweis->setWordWrap(true);
    gesamt->addWidget(hinweis);
    connect(quelle_, &QComboBox::currentIndexChanged, this, [this] { freigeben(); });
    setzen(Quelleneinstellungen{});
}

void QuellenAbschnitt::setzen(const Quelleneinstellungen& q) {
    quelle_->setCurrentIndex(static_cast<int>(q.art));
    registrar_->setText(QString::fromStdString(q.sip.registrar));
    benutzer_->setText(QString::fromStdString(q.sip.benutzer));
    passwort_->setText(QString::fromStdString(q.sip.passwort));
    monitorHost_->setText(QString::fromStdString(q.monitorHost));
    monitorPort_->setText(QString::number(q.monitorPort));
    freigeben();
}

void QuellenAbschnitt::freigeben() {
    const auto art = static_cast<Quellenart>(quelle_->currentIndex());
    // The call monitor places its call-backs through the SIP account.
    const bool sip = art != Quellenart::Capi;
    const bool monitor = art == Quellenart::Anrufmonitor;
    for (QLineEdit* f : {registrar_, benutzer_, passwort_}) f->setEnabled(sip);
    for (QLineEdit* f : {monitorHost_, monitorPort_}) f->setEnabled(monitor);
}

std::optional<Quelleneinstellungen> QuellenAbschnitt::lesen(QString& fehler) const {
    Quelleneinstellungen q;
    q.art = static_cast<Quellenart>(quelle_->currentIndex());
    for (const QLineEdit* f : {registrar_, benutzer_, monitorHost_}) {
        if (!sauber(f->text().trimmed())) {
            fehler = QStringLiteral("Nicht gespeichert: Registrar, Benutzer und Anrufmonitor ohne Leerzeichen eingeben.");
            return std::nullopt;
        }
    }
    if (passwort_->text().contains(QLatin1Char('\n')) || passwort_->text().contains(QLatin1Char('\r'))) {
        fehler = QStringLiteral("Nicht gespeichert: das Passwort enthält einen Zeilenumbruch.");
        return std::nullopt;
    }
    bool zahl = false;
    const int port = monitorPort_->text().trimmed().toInt(&zahl);
    if (!zahl || port < 1 || port > 65535) {
        fehler = QStringLiteral("Nicht gespeichert: der Port des Anrufmonitors muss zwischen 1 und 65535 liegen.");
        return std::nullopt;
    }
    q.sip.registrar = registrar_->text().trimmed().toStdString();
    q.sip.benutzer = benutzer_->text().trimmed().toStdString();
    q.sip.passwort = passwort_->text().toStdString();
    q.monitorHost = monitorHost_->text().trimmed().toStdString();
    q.monitorPort = static_cast<std::uint16_t>(port);
    if (q.art == Quellenart::Anrufmonitor && q.monitorHost.empty()) {
        fehler = QStringLiteral("Nicht gespeichert: für den Anrufmonitor die Adresse des Routers eingeben.");
        return std::nullopt;
    }
    if (q.art == Quellenart::Sip && !q.sip.eingerichtet()) {
        fehler = QStringLiteral("Nicht gespeichert: für SIP Registrar und Benutzer eingeben.");
        return std::nullopt;
    }
    return q;
}

}  // namespace rufpilot
