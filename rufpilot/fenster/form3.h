// "Neue FMS-Kennung": one new entry of the number table. The result stays in
// `ergebnis()` until the dialog is opened again.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <string>

namespace rufpilot {

struct NeueKennung {
    std::string kennung;
    std::string telefon;
    std::string leitung = "-1";  // "DTR" or "RTS" once saved
    int angenommen = 0;          // 1 = the entry passed the checks
};

class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    const NeueKennung& ergebnis() const { return ergebnis_; }

    void speichern();
    void zurueck();
    void hilfe();

private:
    NeueKennung ergebnis_;
    QLineEdit* kennung_ = nullptr;
    QLineEdit* telefon_ = nullptr;
    QRadioButton* dtr_ = nullptr;
    QRadioButton* rts_ = nullptr;
};

}  // namespace rufpilot
