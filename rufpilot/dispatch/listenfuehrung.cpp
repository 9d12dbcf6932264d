#include "rufpilot/dispatch/listenfuehrung.h"

#include "rufpilot/dispatch/zeitformat.h"

namespace rufpilot {

void Listenfuehrung::meldung(const std::string& text) {
    einfuegen(Liste::Meldungen, kMeldungenMax, uhrzeitText(schleife_.jetzt()) + '\t' + text);
}

void Listenfuehrung::fmsZeile(const std::string& zeile) {
    einfuegen(Liste::Fms, kFmsMax, uhrzeitText(schleife_.jetzt()) + '\t' + zeile);
}

void Listenfuehrung::anrufZeile(const std::string& zeile) { einfuegen(Liste::Anrufe, 0, zeile); }

void Listenfuehrung::einfuegen(Liste liste, int max, const std::string& zeile) {
    int& n = zaehler(liste);
    if (max > 0 && n + 1 > max) {  // + 1: the header row counts
        oberflaeche_.aeltesteEntfernen(liste);
        --n;
    }
    oberflaeche_.zeileEinfuegen(liste, zeile);
    ++n;
}

int Listenfuehrung::zeilen(Liste liste) const {
    switch (liste) {
        case Liste::Anrufe: return anrufe_;
        case Liste::Fms: return fms_;
        case Liste::Meldungen: break;
    }
    return meldungen_;
}

int& Listenfuehrung::zaehler(Liste liste) {
    switch (liste) {
        case Liste::Anrufe: return anrufe_;
        case Liste::Fms: return fms_;
        case Liste::Meldungen: break;
    }
    return meldungen_;
}

}  // namespace rufpilot
