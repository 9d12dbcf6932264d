// The control centre's acknowledgement: decoded telegrams, the wait for the
// one that answers a sent status, and the sound level labels.
#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/dispatch/zeitformat.h"

namespace rufpilot {

void Rufvermittlung::FMSDecodierung(tonwerk::FmsTlgType& r) {
    listen_.fmsZeile(r.Kennung + '\t' + std::to_string(r.Status) + '\t' + (r.Richtung == 0 ? "zur Lst" : "zum Fzg") +
                     '\t' + r.Text);
    if (r.Richtung == 1 && r.Status >= 14) quittungsKennung_ = r.Kennung;
}

void Rufvermittlung::Signalstaerke(tonwerk::SignalstaerkeType& w) {
    auto prozent = [](tonwerk::Long wert) { return std::to_string(wert * 100 / 128) + " %"; };
    t_.oberflaeche.pegel(prozent(w.links), prozent(w.rechts));
}

bool Rufvermittlung::QuittungAbwarten(const std::string& kennung, int sekunden) {
    const std::int64_t grenze = std::int64_t{sekunden} * 1000;
    Ereignisschleife& s = t_.schleife;
    // The monotonic clock: a wait across midnight still ends after its length.
    quittungsKennung_.clear();
    std::int64_t start = s.monotonMs();
    // First window: any acknowledgement.
    while (quittungsKennung_.empty()) {
        const std::int64_t vergangen = s.monotonMs() - start;
        s.ereignisseVerarbeiten();
        s.schlafen(30);
        if (vergangen > grenze) {
            MeldungSchreiben("keine Quittung1 von Lst\t" + sekundenSeitMitternacht(s.jetzt()));
            quittungsKennung_.clear();
            return false;
        }
    }
    // Second window: the acknowledgement of this identifier.
    start = s.monotonMs();
    while (true) {
        if (quittungsKennung_ == kennung) {
            MeldungSchreiben("Quittung für " + kennung + "\tvon Leitstelle");
            quittungsKennung_.clear();
            return true;
        }
        const std::int64_t vergangen = s.monotonMs() - start;
        s.ereignisseVerarbeiten();
        s.schlafen(30);
        if (vergangen > grenze) {
            MeldungSchreiben("keine Quittung von Lst");
            quittungsKennung_.clear();
            return false;
        }
    }
}

}  // namespace rufpilot
