// The settings dialog's section "Anrufquelle": where calls come from (CAPI
// 2.0, an IP phone account by SIP, the router's call monitor) and the fields
// each needs. The choice takes effect at the next start.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <optional>

#include "rufpilot/config/rufquelle.h"

namespace rufpilot {

class QuellenAbschnitt : public QFrame {
    Q_OBJECT
public:
    explicit QuellenAbschnitt(QWidget* parent = nullptr);

    void setzen(const Quelleneinstellungen& q);
    // The fields' values; nothing (with the reason in `fehler`) when one of
    // them cannot be stored.
    std::optional<Quelleneinstellungen> lesen(QString& fehler) const;

private:
    void freigeben();

    QComboBox* quelle_ = nullptr;
    QLineEdit* registrar_ = nullptr;
    QLineEdit* benutzer_ = nullptr;
    QLineEdit* passwort_ = nullptr;
    QLineEdit* monitorHost_ = nullptr;
    QLineEdit* monitorPort_ = nullptr;
};

}  // namespace rufpilot
