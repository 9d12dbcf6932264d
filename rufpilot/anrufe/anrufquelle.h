// The seam between the gateway and whatever tells it of telephone calls: an
// ISDN line through CAPI 2.0, an IP phone account (SIP), or the router's call
// monitor. A source delivers calls as events (a call came in, a call ended, a
// call-back was answered or refused) and is asked to let a call ring on at
// the other phones, to dial a call-back and to hang up. How it talks to its
// network (messages, PLCIs, SIP transactions, monitor lines) stays inside it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "rufpilot/anrufe/ausloesung.h"

namespace rufpilot {

// A call as its source numbers it; 0 names no call.
using AnrufId = std::uint32_t;

// A call came in: caller and dialled MSN as the message list shows them.
struct Eingang {
    AnrufId id = 0;
    std::string anrufer;
    std::string msn;
};
// A call ended (an incoming call or a call-back; 0 when the source did not know it).
struct Ende {
    AnrufId id = 0;
    Ausloesung grund;
};
// Someone answered a call-back.
struct RueckrufAngenommen {
    AnrufId id = 0;
};
// The network refused a call-back; `grund` says why, in words and code.
struct RueckrufAbgewiesen {
    AnrufId id = 0;
    std::string grund;
};
using Anrufereignis = std::variant<Eingang, Ende, RueckrufAngenommen, RueckrufAbgewiesen>;
using Anrufereignisse = std::vector<Anrufereignis>;

// What a dial request came to: the call-back's id, or why there is none
// (empty when the source has said so itself).
struct Waehlergebnis {
    std::optional<AnrufId> id;
    std::string abgewiesen;
};

class Anrufquelle {
public:
    using MeldungSchreiben = std::function<void(const std::string&)>;

    virtual ~Anrufquelle() = default;

    // True when the source can work at all; `gesucht` names what was looked
    // for (shown after "Capi nicht vorhanden").
    virtual bool vorhanden(std::string& gesucht) = 0;
    // Registers and starts listening; false when that failed.
    virtual bool starten() = 0;
    virtual void stoppen() = 0;
    // Whether calls can reach the gateway now (the line is up, the account
    // registered, the monitor connected); shown by the Capi lamp.
    virtual bool verbunden() const = 0;
    // One step of the source's work, on the host's tick, handing over what it
    // has: a source that takes its calls in by itself hands over everything
    // pending; the CAPI line fetches one message per tick.
    virtual Anrufereignisse schritt() = 0;
    // Whether a call rings on only once its dispatch is done (ISDN answers
    // after the matcher); other sources let it ring on as soon as it is
    // recorded, so the caller's network gets its answer at once.
    virtual bool antwortNachAbgleich() const { return false; }
    // For a source with a protocol stack of its own: lets it answer its
    // network between two ticks; hosts call it every few tens of milliseconds.
    virtual void pumpen() {}

    // The gateway is done with incoming call `id`: it rings on elsewhere.
    virtual void weiterklingeln(AnrufId id) = 0;
    // Dials `nummer` exactly as given, with `msn` as the calling number.
    virtual Waehlergebnis waehlen(const std::string& nummer, const std::string& msn) = 0;
    // Clears call-back `id` (ringing or answered).
    virtual void auflegen(AnrufId id) = 0;

    // Where the source's own message lines go (state changes, faults).
    virtual void meldungenAn(MeldungSchreiben meldung) { meldung_ = std::move(meldung); }

protected:
    // A failing message list must cost the source nothing.
    void melden(const std::string& text) const {
        if (!meldung_) return;
        try {
            meldung_(text);
        } catch (...) {
        }
    }

private:
    MeldungSchreiben meldung_;
};

}  // namespace rufpilot
