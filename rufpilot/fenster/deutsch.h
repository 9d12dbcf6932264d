// Qt's own texts in German (the standard buttons read "Ja" and "Nein").
#pragma once

#include <QCoreApplication>
#include <QTranslator>

namespace rufpilot {

class DeutscheTexte {
public:
    // Installs Qt's German translation into `app` when the file is there.
    explicit DeutscheTexte(QCoreApplication& app);
    bool geladen() const { return geladen_; }

private:
    QTranslator uebersetzer_;
    bool geladen_ = false;
};

}  // namespace rufpilot
