// Matching an incoming call: caller against the number table, MSN against the
// MSN table; a double hit sends the status and becomes a row of the call list.
#include <exception>

#include "rufpilot/dispatch/leitungsnummer.h"
#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/dispatch/textvergleich.h"
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
    Nummerneintrag eintrag;
    std::string slot;
    int status = 0;
    int treffer = 0;

    MeldungSchreiben("Prüfung 1:\tTelefonnummer");
    bool bekannt = false;
    for (const Nummerneintrag& e : t_.nummern) {
        MeldungSchreiben("<" + anrufer + "> mit\t<" + e.telefon + ">");
        // An empty record of the table stands for no caller, not for one
        // whose number is withheld.
        if (!e.telefon.empty() && gleichOhneGrossschreibung(anrufer, e.telefon)) {
            eintrag = e;
            MeldungSchreiben("Übereinstimmung!\tFMS-Kennung: " + e.kennung);
            ++treffer;
            bekannt = true;
            break;
        }
        MeldungSchreiben("Ergebnis:\tkeine Übereinstimmung!");
    }
    if (!bekannt) MeldungSchreiben("Ergebnis 1:\tRufnummer unbekannt");

    MeldungSchreiben("Prüfung 2:\tMSN");
    for (int i = 0; i < kMsnSlots; ++i) {
        const std::string& kandidat = msn_[static_cast<std::size_t>(i)];
        MeldungSchreiben("<" + msn + "> mit\t<" + kandidat + ">");
        if (gleichOhneGrossschreibung(msn, kandidat)) {
            slot = kandidat;
            status = i + 1;
            MeldungSchreiben("Übereinstimmung!\tMSN=" + std::to_string(status));
            ++treffer;
            break;
        }
        MeldungSchreiben("Ergebnis:\tkeine Übereinstimmung!");
    }

    if (treffer != 2) {
        MeldungSchreiben("Gesamtergebnis: Eingehende Rufnummer oder MSN NICHT erkannt");
        return;
    }
    MeldungSchreiben("Anruf erkannt\tund zugeordnet");

    bool quittiert = false;
    try {
        quittiert = StatusSenden(eintrag.kennung, status, t_.einstellungen.baustufe, t_.einstellungen.tki,
                                 leitungsnummer(eintrag.leitung));
        if (quittiert) {
            rueckrufnummer_ = eintrag.telefon;
            Rueckruf(eintrag.telefon, slot, 10);
        }
    } catch (const std::exception& fehler) {
        // The call happened: it still gets its row and its log line.
        MeldungSchreiben(std::string("Rufbearbeitung fehlgeschlagen:\t") + fehler.what());
    }

    const Ortszeit zeit = t_.schleife.jetzt();
    const std::string zeile = uhrzeitText(zeit) + '\t' + eintrag.telefon + '\t' + slot + '\t' + eintrag.kennung +
                              '\t' + std::to_string(status) + '\t' + eintrag.leitung + '\t' +
                              (quittiert ? "ja" : "nein");
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
