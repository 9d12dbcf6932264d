// Rufvermittlung: the gateway's dispatch core. It matches an incoming call
// against the number table and the MSN table, keys the transmitter on the
// gateway's own serial port, sends the FMS status through the control, waits
// for the control centre's acknowledgement, calls back, and writes every step
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
#include "rufpilot/dispatch/listenfuehrung.h"
#include "rufpilot/dispatch/msn_tabelle.h"
#include "rufpilot/dispatch/oberflaeche.h"
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

    // --- serial lines (line 1 = DTR, any other = RTS; port 0 = none) ---
    void LeitungEin(int port, int leitung);
    void LeitungAus(int port, int leitung);
    void LeitungAnzeigen(int zustand, int port, int leitung);
    // A dispatch's hold on a line (Tastung): the first holder keys it, the
    // last one to let go releases it, so a call handled inside another's wait
    // cannot unkey the first call's telegram.
    void leitungHalten(int port, int leitung);
    void leitungLoslassen(int port, int leitung);
    // Whether any dispatch holds a line keyed now.
    bool getastet() const { return !halter_.empty(); }
    // (Re)opens the keying port from the settings, reports it, puts both lines to rest.
    void PortPruefen();

    // --- acknowledgement, waits, call-back ---
    bool QuittungAbwarten(const std::string& kennung, int sekunden);
    // Waits in 40 ms steps, letting events run; anzeigen = 1 shows the countdown.
    void Warten(std::int32_t ms, int anzeigen);
    void Rueckruf(const std::string& nummer, const std::string& msn, int sekunden);

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
    const std::string& quittungsKennung() const { return quittungsKennung_; }
    const std::string& rueckrufnummer() const { return rueckrufnummer_; }
    void rueckrufnummer(const std::string& nummer) { rueckrufnummer_ = nummer; }
    const Listenfuehrung& listen() const { return listen_; }

private:
    // Warten with the countdown's number fixed for the whole wait.
    void warten(std::int32_t ms, int anzeigen, const std::string& nummer);
    void leitungSchalten(int port, int leitung, bool ein);
    void zeileProtokollieren(const Ortszeit& zeit, const std::string& zeile);

    Vermittlungsteile t_;
    Listenfuehrung listen_;
    MsnTabelle msn_{};
    // The identifier of the latest acknowledgement: one for the whole program,
    // set by the telegram handler, cleared by each QuittungAbwarten.
    std::string quittungsKennung_;
    // The number the call-back countdown shows; set by the matcher.
    std::string rueckrufnummer_;
    // Holders per keyed line, by port and physical line (1 = DTR, 2 = RTS).
    std::map<std::pair<int, int>, int> halter_;
};

}  // namespace rufpilot
