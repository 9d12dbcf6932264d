// Matching an incoming call: caller against the number table, MSN against the
// MSN table; a double hit sends the status and becomes a row of the call list.
#include <exception>

#include "rufpilot/dispatch/anrufzeile.h"
#include "rufpilot/dispatch/leitungsnummer.h"
#include "rufpilot/dispatch/ruf_abgleich.h"
#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/dispatch/zeitformat.h"

namespace rufpilot {

bool Rufvermittlung::MsnListeLaden() {
    if (msnListeZerlegen(t_.einstellungen.msnListe, msn_)) return true;
    MeldungSchreiben("Noch keine MSN vergeben !");
    return false;
}

void Rufvermittlung::RufPruefen(const std::string& anrufer, const std::string& msn) {
    // Copies, not references: a call handled inside this one's waits may
    // reload the tables.
    const RufAbgleich abgleich = rufAbgleichen(anrufer, msn, t_.nummern, msn_);
    for (const std::string& zeile : abgleich.meldungen) MeldungSchreiben(zeile);
    if (!abgleich.treffer) return;
    const Nummerneintrag eintrag = abgleich.treffer->eintrag;
    const std::string slot = abgleich.treffer->msn;
    const int status = abgleich.treffer->status;

    bool quittiert = false;
    try {
        if (t_.schleife.endeVerlangt()) throw Programmende{};
        quittiert = StatusSenden(eintrag.kennung, status, t_.einstellungen.baustufe, t_.einstellungen.tki,
                                 leitungsnummer(eintrag.leitung));
        if (quittiert) {
            rueckrufer_.rueckrufnummer(eintrag.telefon);
            rueckrufer_.Rueckruf(eintrag.telefon, slot, 10);
        }
    } catch (const std::exception& fehler) {
        // The call happened: it still gets its row and its log line.
        MeldungSchreiben(std::string("Rufbearbeitung fehlgeschlagen:\t") + fehler.what());
    } catch (const Programmende&) {
        // The keying guard has released the line; the call is logged as it stands.
        MeldungSchreiben("Rufbearbeitung abgebrochen:\tProgramm wird beendet");
    }

    const Ortszeit zeit = t_.schleife.jetzt();
    const std::string zeile = anrufZeileText(
        {uhrzeitText(zeit), eintrag.telefon, slot, eintrag.kennung, status, eintrag.leitung, quittiert});
    listen_.anrufZeile(zeile);
    zeileProtokollieren(zeit, zeile);
}

void Rufvermittlung::zeileProtokollieren(const Ortszeit& zeit, const std::string& zeile) {
    if (!t_.logSchreiben) return;
    try {
        t_.logSchreiben(t_.logverzeichnis, zeit, zeile);
    } catch (const std::exception& fehler) {
        MeldungSchreiben(std::string("Logdatei nicht geschrieben:\t") + fehler.what());
    }
}

}  // namespace rufpilot
