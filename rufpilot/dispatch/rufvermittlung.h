// Rufvermittlung: the gateway's dispatch core. It matches an incoming call
// (rufAbgleichen), keys the transmitter through its keying lines (Leitungen),
// sends the FMS status through the control, waits for the control centre's
// acknowledgement (Quittung), calls back (Rueckrufer), and writes every step
// to the window's lists. It is the control's listener for decoded telegrams
// and sound levels.
//
// Everything runs on the host's one thread. The waits let events run, so a
// second call can be handled nested inside the first one's wait: every value
// of a call lives on the stack of its RufPruefen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "rufpilot/config/einstellungen.h"
#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/leitungen.h"
#include "rufpilot/dispatch/listenfuehrung.h"
#include "rufpilot/dispatch/msn_tabelle.h"
#include "rufpilot/dispatch/oberflaeche.h"
#include "rufpilot/dispatch/quittung.h"
#include "rufpilot/dispatch/rueckruf.h"
#include "rufpilot/dispatch/waehler.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/core/records.h"
#include "tonwerk/platform/serieller_anschluss.h"

namespace rufpilot {

// Appends one call row as a line to the day's log file in `verzeichnis`
// (the day is that of `zeit`). Throws when the file cannot be written. The
// program passes the config's writer:
//   [](auto& d, auto& t, auto& z) { logZeileAnhaengen(d, t.jahr, t.monat, t.tag, z); }
using LogSchreiber =
    std::function<void(const std::filesystem::path& verzeichnis, const Ortszeit& zeit, const std::string& zeile)>;

// What the core works with; the program owns all of it and keeps it alive
// as long as the core. Settings and number table may be reloaded between calls.
struct Vermittlungsteile {
    Oberflaeche& oberflaeche;
    Ereignisschleife& schleife;
    tonwerk::Funkwandler& funkwandler;
    tonwerk::SeriellerAnschluss& anschluss;  // the gateway's keying port
    Waehler& waehler;
    Einstellungen& einstellungen;
    const Nummerntabelle& nummern;
    std::filesystem::path logverzeichnis;
    LogSchreiber logSchreiben;  // empty: no log file is written
};

class Rufvermittlung : public tonwerk::FunkwandlerListener {
public:
    // Registers itself as the control's listener (and unregisters on destruction).
    explicit Rufvermittlung(Vermittlungsteile teile);
    ~Rufvermittlung() override;
    Rufvermittlung(const Rufvermittlung&) = delete;
    Rufvermittlung& operator=(const Rufvermittlung&) = delete;

    // --- matching ---
    // Fills the MSN table from the settings; false (and a message) when the
    // list sets no MSN.
    bool MsnListeLaden();
    // Handles one incoming call from `anrufer` to `msn`.
    void RufPruefen(const std::string& anrufer, const std::string& msn);

    // --- sending ---
    // Keys line `leitung`, sends the status (once more without acknowledgement)
    // and releases the line; true when the control centre acknowledged.
    bool StatusSenden(const std::string& kennung, int status, int baustufe, int tki, int leitung);

    // --- the pieces it works with ---
    Leitungen& leitungen() { return leitungen_; }
    Quittung& quittung() { return quittung_; }
    Rueckrufer& rueckrufer() { return rueckrufer_; }

    // --- lists ---
    void MeldungSchreiben(const std::string& text);
    // A row of today's log, loaded by the window at start-up (newest last).
    void anrufZeileLaden(const std::string& zeile);
    // The window emptied a list itself.
    void listeGeleert(Liste liste) { listen_.geleert(liste); }

    // --- control events ---
    void FMSDecodierung(tonwerk::FmsTlgType& r) override;
    void Signalstaerke(tonwerk::SignalstaerkeType& w) override;

    // --- state shown or set by the window ---
    const MsnTabelle& msnTabelle() const { return msn_; }
    const Listenfuehrung& listen() const { return listen_; }

private:
    void zeileProtokollieren(const Ortszeit& zeit, const std::string& zeile);

    Vermittlungsteile t_;
    Listenfuehrung listen_;
    MsnTabelle msn_{};
    Leitungen leitungen_;
    Quittung quittung_;
    Rueckrufer rueckrufer_;
};

}  // namespace rufpilot
