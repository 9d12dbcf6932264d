// Rufpilot's main window: the three lists, lamps, line indicators, level
// labels, the test area, the buttons, the tray icon and the close sequence.
// It is the core's surface; the program (or the demo) owns the application
// and binds it with `anbinden`.
#pragma once

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QWidget>
#include <array>
#include <functional>

#include "rufpilot/dispatch/oberflaeche.h"
#include "rufpilot/fenster/leuchte.h"
#include "rufpilot/fenster/rufliste.h"

namespace rufpilot {

class Anwendung;

class Form1 : public QWidget, public Oberflaeche {
    Q_OBJECT
public:
    // 10932 x 7416 twips.
    static constexpr int kBreite = 729;
    static constexpr int kHoehe = 494;

    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Buttons and the close sequence act on `anwendung` from now on.
    void anbinden(Anwendung& anwendung);

    // --- Oberflaeche ---
    void listenEinrichten() override;
    void zeileEinfuegen(Liste liste, const std::string& zeile) override;
    void listeLeeren(Liste liste) override;
    void aeltesteEntfernen(Liste liste) override;
    void pegel(const std::string& links, const std::string& rechts) override;
    void countdown(bool sichtbar, const std::string& text) override;
    void lampe(Lampe lampe, Farbe farbe) override;
    void leitung(int port, int leitung, bool hoch) override;

    // --- the buttons (the labels beside them call the same) ---
    void fmsTesten();
    void handyTesten();
    void einstellungenOeffnen();
    void inDenTray();
    // Shows the window again (a left click on the tray icon).
    void ausDemTray();
    // The close sequence without the question (a stop by signal); nothing
    // when it has run already.
    void abschalten();

    Rufliste& liste(Liste liste);
    Leuchte& leuchte(Lampe lampe);
    Leuchte& anzeige(int port, int leitung);
    QSystemTrayIcon* trayicon() { return tray_; }
    bool beendet() const { return beendet_; }

    // Whether a notification area exists; replaceable for tests.
    std::function<bool()> trayVorhanden;

signals:
    // Each step of the close sequence as it is done: "Timer", "Trayicon",
    // "Port", "Hinweis", "Soundstop", "CapiStop".
    void abschaltschritt(const QString& schritt);
    // The close sequence has run; the program may end.
    void geschlossen();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void aufbauen();
    void hinweisZeigen();
    // Whether a dialog may open now: not while a line is keyed, since its
    // modal loop would run inside the send's wait and hold the transmitter
    // for as long as it is open. Says so in the message list when not.
    bool dialogErlaubt(const char* was);

    Anwendung* anwendung_ = nullptr;
    Rufliste* grid2_ = nullptr;  // calls
    Rufliste* grid3_ = nullptr;  // FMS telegrams
    Rufliste* grid4_ = nullptr;  // messages
    QLineEdit* text2_ = nullptr;  // Kennung
    QLineEdit* text4_ = nullptr;  // status
    QLineEdit* text5_ = nullptr;  // MSN
    QLineEdit* text3_ = nullptr;  // telephone number
    QRadioButton* dtr_ = nullptr;
    QRadioButton* rts_ = nullptr;
    QLabel* text1_ = nullptr;  // notice
    QLabel* text6_ = nullptr;  // countdown
    QLabel* pegelLinks_ = nullptr;
    QLabel* pegelRechts_ = nullptr;
    Leuchte* capi_ = nullptr;
    Leuchte* soundkarte_ = nullptr;
    std::array<Leuchte*, 4> ports_{};
    std::array<std::array<Leuchte*, 2>, 4> anzeigen_{};
    QSystemTrayIcon* tray_ = nullptr;
    bool beendet_ = false;
};

}  // namespace rufpilot
