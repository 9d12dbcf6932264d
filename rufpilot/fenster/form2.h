// "Rufnummern und MSN": every setting of server.ini the user may change, the
// call source (rufquelle.ini) and the number table. The dialog writes no file
// itself: "speichern" hands the settings and the source to the application
// and leaves the dialog open; "Neu" and "löschen" hand it the new entry or
// the table at once.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>
#include <array>

#include "rufpilot/fenster/quellen_abschnitt.h"

namespace rufpilot {

class Anwendung;

class Form2 : public QDialog {
    Q_OBJECT
public:
    Form2(Anwendung& anwendung, QWidget* parent = nullptr);

    void speichern();
    void neu();
    void loeschen();
    void hilfe();

    QTableWidget& tabelle() { return *grid_; }

private:
    void aufbauen();
    void laden();
    void fehler(const QString& text);
    void quelleSpeichern(const Quelleneinstellungen& neu);

    Anwendung& anwendung_;
    QButtonGroup* comPort_ = nullptr;     // ids 1..4
    QButtonGroup* tki_ = nullptr;         // ids 0..3
    QButtonGroup* baustufe_ = nullptr;    // ids 0..2
    QButtonGroup* abtastrate_ = nullptr;  // ids 0..2
    QCheckBox* pegelumkehr_ = nullptr;
    QLineEdit* vorlauf_ = nullptr;
    QComboBox* soundkarte_ = nullptr;
    std::array<QLineEdit*, 9> msn_{};
    QTableWidget* grid_ = nullptr;
    QuellenAbschnitt* quelle_ = nullptr;
};

}  // namespace rufpilot
