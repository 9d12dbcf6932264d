// The call monitor: what every call source shares. On each host timer tick
// (and, for a source with a stack of its own, on its pump between the ticks)
// it lets the source do one step and handles what the source delivered: an
// incoming call is logged, handed to the matcher (guarded, so a failing
// matcher still lets the call ring on) and then let ring on at the other
// phones; the end of a call is logged with its reason. Everything a source
// hands over in one step is recorded first; then the calls are dispatched
// one after the other, in arrival order. The matcher's waits let the ticks
// run on: a call that comes in meanwhile rings on at once and waits its turn
// until the running dispatch is done, so no dispatch runs inside another's
// waits. Over ISDN a call rings on after its own dispatch; the other sources
// let every call ring on as soon as it is recorded. It also dials the
// call-back and clears it again after a bounded ring time, or at once when
// someone answers it. A call whose turn comes only after it has waited
// longer than a bound is logged as missed instead of being dispatched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "rufpilot/anrufe/anrufquelle.h"
#include "rufpilot/dispatch/waehler.h"

namespace rufpilot {

class Anrufmonitor : public Waehler {
public:
    using MeldungSchreiben = std::function<void(const std::string& meldung)>;
    // May wait and let events run: CapiAbfrage then runs nested inside it.
    using RufPruefen = std::function<void(const std::string& anrufer, const std::string& msn)>;
    // Monotonic milliseconds.
    using Uhr = std::function<std::int64_t()>;

    static constexpr std::int64_t kKlingeldauerMs = 20000;
    // How long a call may wait for its turn and still be dispatched. A caller
    // who got no alarm within a minute has raised it another way, and a
    // telegram sent later would report old news. Not the ring time: three
    // known callers at once keep the third waiting some 25 s, and each of
    // them still has to go out.
    static constexpr std::int64_t kVeraltetNachMs = 60000;

    // Also routes the source's own message lines to `meldung`.
    Anrufmonitor(Anrufquelle& quelle, MeldungSchreiben meldung, RufPruefen rufPruefen, Uhr uhr);

    bool vorhanden(std::string& gesucht) { return quelle_.vorhanden(gesucht); }
    // Starts the source; false (with a message line) when that failed.
    bool CapiStart();
    void CapiStop();
    // First clears call-backs that have rung long enough, then lets the
    // source do one step and handles what it delivered.
    void CapiAbfrage();
    // Between two ticks, for a source with a stack of its own (every few tens
    // of milliseconds): lets it work and records what it handed over, so a
    // call is answered at once instead of at the next tick. Dispatches wait
    // for the tick: a dispatch's waits must not hold back this pump.
    void pumpen();
    // Dials the call-back.
    void waehlen(const std::string& nummer, const std::string& msn) override;

    void klingeldauerSetzen(std::int64_t ms) { klingeldauerMs_ = ms; }
    void veraltetNachSetzen(std::int64_t ms) { veraltetNachMs_ = ms; }
    // Calls waiting for their turn.
    std::size_t wartendeAnrufe() const { return wartend_.size(); }
    // Call-backs dialled whose end has not been reported yet.
    std::size_t offeneRueckrufe() const { return rueckrufe_.size(); }
    // False while the source cannot take calls (line, account or monitor down).
    bool verbunden() const { return quelle_.verbunden(); }

private:
    struct Rueckruf {
        AnrufId id;
        std::int64_t seitMs;
        std::string nummer;
        bool abgebaut = false;
    };
    struct Wartend {
        Eingang ruf;
        bool beantwortet;     // already let ring on
        std::int64_t seitMs;  // recorded at
    };
    void abholen();
    void behandeln(const Anrufereignis& ereignis);
    void aufnehmen(const Eingang& ruf);
    void abarbeiten();
    void pruefen(const Eingang& ruf);
    void abbauen(Rueckruf& r);
    void vergessen(AnrufId id);
    void melden(const std::string& meldung);

    // A source that never reports the end must not let the list grow without bound.
    static constexpr std::size_t kRueckrufeHoechstens = 16;

    Anrufquelle& quelle_;
    MeldungSchreiben meldung_;
    RufPruefen rufPruefen_;
    Uhr uhr_;
    std::int64_t klingeldauerMs_ = kKlingeldauerMs;
    std::int64_t veraltetNachMs_ = kVeraltetNachMs;
    std::deque<Rueckruf> rueckrufe_;
    std::deque<Wartend> wartend_;  // calls waiting for their dispatch, in arrival order
    bool imAbgleich_ = false;
    bool gestartet_ = false;
};

}  // namespace rufpilot
