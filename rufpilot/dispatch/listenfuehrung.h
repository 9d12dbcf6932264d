// The three lists of the window as the core keeps them: it counts the rows it
// put in since the last clear, so the window never has to report a count, and
// it drops the oldest rows of the message and FMS lists at their limits, so a
// full list keeps its newest history instead of losing all of it.
#pragma once

#include <string>

#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/oberflaeche.h"

namespace rufpilot {

class Listenfuehrung {
public:
    // Rows including the header above which a list drops its oldest row.
    static constexpr int kMeldungenMax = 200;
    static constexpr int kFmsMax = 300;

    Listenfuehrung(Oberflaeche& oberflaeche, const Ereignisschleife& schleife)
        : oberflaeche_(oberflaeche), schleife_(schleife) {}

    // A message row: time of day, TAB, text (a TAB inside the text fills the
    // third column).
    void meldung(const std::string& text);
    // A decoded telegram's row, without the time (added here).
    void fmsZeile(const std::string& zeile);
    // A finished call's row, complete. The call list has no limit.
    void anrufZeile(const std::string& zeile);

    // The window emptied a list or filled it itself (today's log at start-up).
    void geleert(Liste liste) { zaehler(liste) = 0; }
    void geladen(Liste liste, int zeilen) { zaehler(liste) += zeilen; }

    // Data rows below the header.
    int zeilen(Liste liste) const;

private:
    void einfuegen(Liste liste, int max, const std::string& zeile);
    int& zaehler(Liste liste);

    Oberflaeche& oberflaeche_;
    const Ereignisschleife& schleife_;
    int anrufe_ = 0;
    int fms_ = 0;
    int meldungen_ = 0;
};

}  // namespace rufpilot
