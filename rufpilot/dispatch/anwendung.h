// Rufpilot as a whole, without its window: the start-up in its fixed order,
// the one-second tick that fetches CAPI messages and refreshes the lamps,
// and the shut-down. The window (or the headless program, or the demo) owns
// the platform pieces and the control, and forwards its timer and clicks.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "rufpilot/capi/anrufmonitor.h"
#include "rufpilot/capi/capi_treiber.h"
#include "rufpilot/config/einstellungen.h"
#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/oberflaeche.h"
#include "rufpilot/dispatch/rufvermittlung.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/serieller_anschluss.h"
#include "tonwerk/platform/zeitgeber.h"

namespace rufpilot {

struct Anwendungsteile {
    Oberflaeche& oberflaeche;
    Ereignisschleife& schleife;
    tonwerk::Funkwandler& funkwandler;
    tonwerk::SeriellerAnschluss& anschluss;  // the gateway's keying port
    CapiTreiber& capi;
    tonwerk::Zeitgeber& timer;  // the window's one-second timer
    std::filesystem::path verzeichnis;  // server.ini, fms_telefon_leitung.dat, Logs/
};

class Anwendung {
public:
    explicit Anwendung(Anwendungsteile teile);
    ~Anwendung();
    Anwendung(const Anwendung&) = delete;
    Anwendung& operator=(const Anwendung&) = delete;

    // Everything after the single-instance check, in order: log directory,
    // settings, serial port, sound, call monitor with today's call log,
    // number table; then the one-second timer runs.
    void starten();
    // The close sequence once the user said yes: timer, port, sound, CAPI.
    void beenden();
    // One tick of the one-second timer.
    void tick();

    // Reload what the settings dialog may have changed.
    void einstellungenNeuLaden();

    Rufvermittlung& vermittlung() { return vermittlung_; }
    Anrufmonitor& monitor() { return monitor_; }
    Einstellungen& einstellungen() { return einstellungen_; }
    const Nummerntabelle& nummern() const { return nummern_; }
    // Sound cards offered by the settings dialog: index and name.
    const std::vector<std::string>& soundkarten() const { return soundkarten_; }
    bool capiBereit() const { return capiBereit_; }
    std::filesystem::path logverzeichnis() const { return t_.verzeichnis / "Logs"; }

private:
    void soundEinrichten();
    void capiEinrichten();
    void nummernLaden();

    Anwendungsteile t_;
    Einstellungen einstellungen_;
    Nummerntabelle nummern_;
    std::vector<std::string> soundkarten_;
    bool capiBereit_ = false;
    bool beendet_ = false;
    Anrufmonitor monitor_;
    Rufvermittlung vermittlung_;
};

}  // namespace rufpilot
