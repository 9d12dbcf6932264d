#include "rufpilot/dispatch/quittung.h"

#include "rufpilot/dispatch/zeitformat.h"

namespace rufpilot {

void Quittung::telegramm(const tonwerk::FmsTlgType& r) {
    if (r.Richtung == 1 && r.Status >= 14) quittungsKennung_ = r.Kennung;
}

bool Quittung::QuittungAbwarten(const std::string& kennung, int sekunden) {
    const std::int64_t grenze = std::int64_t{sekunden} * 1000;
    Ereignisschleife& s = schleife_;
    // The monotonic clock: a wait across midnight still ends after its length.
    quittungsKennung_.clear();
    std::int64_t start = s.monotonMs();
    // First window: any acknowledgement.
    while (quittungsKennung_.empty()) {
        const std::int64_t vergangen = s.monotonMs() - start;
        s.ereignisseVerarbeiten();
        if (s.endeVerlangt()) throw Programmende{};
        s.schlafen(30);
        if (vergangen > grenze) {
            meldung_("keine Quittung1 von Lst\t" + sekundenSeitMitternacht(s.jetzt()));
            quittungsKennung_.clear();
            return false;
        }
    }
    // Second window: the acknowledgement of this identifier.
    start = s.monotonMs();
    while (true) {
        if (quittungsKennung_ == kennung) {
            meldung_("Quittung für " + kennung + "\tvon Leitstelle");
            quittungsKennung_.clear();
            return true;
        }
        const std::int64_t vergangen = s.monotonMs() - start;
        s.ereignisseVerarbeiten();
        if (s.endeVerlangt()) throw Programmende{};
        s.schlafen(30);
        if (vergangen > grenze) {
            meldung_("keine Quittung von Lst");
            quittungsKennung_.clear();
            return false;
        }
    }
}

}  // namespace rufpilot
