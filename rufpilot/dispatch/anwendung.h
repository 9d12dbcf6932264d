// Rufpilot as a whole, without its window: the start-up in its fixed order,
// the one-second tick that lets the call source work and refreshes the lamps,
// and the shut-down. The window (or the headless program, or the demo) owns
// the platform pieces and the control, and forwards its timer and clicks.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "rufpilot/anrufe/anrufmonitor.h"
#include "rufpilot/anrufe/anrufquelle.h"
#include "rufpilot/config/einstellungen.h"
#include "rufpilot/config/rufquelle.h"
#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/oberflaeche.h"
#include "rufpilot/dispatch/rufvermittlung.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/serieller_anschluss.h"
#include "tonwerk/platform/zeitgeber.h"

namespace rufpilot {

// The steps of the shut-down, reported after each so the window can do its
// own part in between (tray icon after the timer, the notice before Soundstop).
enum class Abschaltschritt { TimerAngehalten, PortGeschlossen, SoundGestoppt, CapiFreigegeben };

struct Anwendungsteile {
    Oberflaeche& oberflaeche;
    Ereignisschleife& schleife;
    tonwerk::Funkwandler& funkwandler;
    tonwerk::SeriellerAnschluss& anschluss;  // the gateway's keying port
    Anrufquelle& quelle;  // where the calls come from
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
    // The close sequence once the user said yes: timer, port (and the
    // inverted lines to their low level), Soundstop, CAPI. `nachSchritt`
    // is called after each step. A second call does nothing.
    void beenden(const std::function<void(Abschaltschritt)>& nachSchritt = {});
    // One tick of the one-second timer.
    void tick();

    // Reload what the settings dialog may have changed.
    void einstellungenNeuLaden();
    // The settings dialog saves: the control takes the sound card at once,
    // the port lamps turn red until the port is checked again, the MSN slots
    // take the new list, and server.ini is written (throws std::system_error
    // when it cannot be; the settings in memory are changed all the same).
    void einstellungenSpeichern(const Einstellungen& neu);
    // The settings dialog's other values: the call source (rufquelle.ini and
    // sip_passwort; a change is said in the message list and takes effect at
    // the next start), a new entry of the number table, a record removed.
    // Each throws std::system_error when the file cannot
    // be written.
    void quelleSpeichern(const Quelleneinstellungen& neu);
    void nummerAnhaengen(const Nummerneintrag& eintrag);
    // Removes the record shown at `index` when the file still holds it so;
    // lines the grid never showed stay. False when the file changed meanwhile.
    bool nummerEntfernen(std::size_t index, const Nummerneintrag& erwartet);

    Rufvermittlung& vermittlung() { return vermittlung_; }
    Anrufmonitor& monitor() { return monitor_; }
    Einstellungen& einstellungen() { return einstellungen_; }
    const Nummerntabelle& nummern() const { return nummern_; }
    // Sound cards offered by the settings dialog: index and name.
    const std::vector<std::string>& soundkarten() const { return soundkarten_; }
    bool capiBereit() const { return capiBereit_; }
    // Whether capture runs on a device that opened.
    bool soundBereit() const { return soundBereit_; }
    bool beendet() const { return beendet_; }
    tonwerk::Funkwandler& funkwandler() { return t_.funkwandler; }
    const std::filesystem::path& verzeichnis() const { return t_.verzeichnis; }
    std::filesystem::path nummerndatei() const { return t_.verzeichnis / "fms_telefon_leitung.dat"; }
    std::filesystem::path logverzeichnis() const { return t_.verzeichnis / "Logs"; }

private:
    void soundEinrichten();
    // Without running capture: every ten ticks, whether the chosen device
    // opens now (a USB card plugged in later), and if so start it.
    void soundNachsehen();
    void capiEinrichten();
    void nummernLaden();

    Anwendungsteile t_;
    Einstellungen einstellungen_;
    Nummerntabelle nummern_;
    std::vector<std::string> soundkarten_;
    bool capiBereit_ = false;
    bool soundBereit_ = false;
    int ticksOhneSound_ = 0;
    bool beendet_ = false;
    Anrufmonitor monitor_;
    Rufvermittlung vermittlung_;
};

}  // namespace rufpilot
