#include "rufpilot/dispatch/ruf_abgleich.h"

#include "rufpilot/anrufe/rufnummer_text.h"
#include "rufpilot/dispatch/textvergleich.h"

namespace rufpilot {

RufAbgleich rufAbgleichen(const std::string& anrufer, const std::string& msn, const Nummerntabelle& nummern,
                          const MsnTabelle& msns) {
    RufAbgleich a;
    auto schreiben = [&](std::string zeile) { a.meldungen.push_back(std::move(zeile)); };
    const Nummerneintrag* eintrag = nullptr;
    schreiben("Prüfung 1:\tTelefonnummer");
    for (const Nummerneintrag& e : nummern) {
        schreiben("<" + anrufer + "> mit\t<" + e.telefon + ">");
        // An empty record of the table stands for no caller, not for one
        // whose number is withheld. An entry typed "+49301234567" is the
        // caller every source reports as "0301234567", and the other way round.
        if (!e.telefon.empty() &&
            (gleichOhneGrossschreibung(anrufer, e.telefon) || GleicheRufnummer(anrufer, e.telefon))) {
            eintrag = &e;
            schreiben("Übereinstimmung!\tFMS-Kennung: " + e.kennung);
            break;
        }
        schreiben("Ergebnis:\tkeine Übereinstimmung!");
    }
    if (!eintrag) schreiben("Ergebnis 1:\tRufnummer unbekannt");

    int status = 0;
    schreiben("Prüfung 2:\tMSN");
    for (int i = 0; i < kMsnSlots; ++i) {
        const std::string& kandidat = msns[static_cast<std::size_t>(i)];
        schreiben("<" + msn + "> mit\t<" + kandidat + ">");
        if (gleichOhneGrossschreibung(msn, kandidat)) {
            status = i + 1;
            schreiben("Übereinstimmung!\tMSN=" + std::to_string(status));
            break;
        }
        schreiben("Ergebnis:\tkeine Übereinstimmung!");
    }

    if (!eintrag || status == 0) {
        schreiben("Gesamtergebnis: Eingehende Rufnummer oder MSN NICHT erkannt");
        return a;
    }
    schreiben("Anruf erkannt\tund zugeordnet");
    a.treffer = RufTreffer{*eintrag, msns[static_cast<std::size_t>(status - 1)], status};
    return a;
}

}  // namespace rufpilot
