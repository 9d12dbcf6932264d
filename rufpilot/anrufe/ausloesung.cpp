#include "rufpilot/anrufe/ausloesung.h"

namespace rufpilot {

std::string AusloesungText(const Ausloesung& a) {
    const bool isdn = a.netz == Netz::Isdn;
    switch (a.grund) {
        case Ausloesegrund::Aufgelegt: return "Anrufer hat aufgelegt";
        case Ausloesegrund::AmComputerAngenommen: return "Angenommen am Computer";
        case Ausloesegrund::AnderswoAngenommen: return isdn ? "Angenommen am S0-Bus" : "Angenommen an anderem Telefon";
        case Ausloesegrund::Umgeleitet: return "Anruf umgeleitet";
        case Ausloesegrund::AbbruchDurchNetz: return isdn ? "Abbruch durch VSt" : "Abbruch durch Router";
        case Ausloesegrund::RueckrufBeendet: return "Rückruf beendet";
        case Ausloesegrund::Sonstiger: break;
    }
    return a.ursache;
}

Ausloesung AusloesungAusQ850(Netz netz, int ursache, const std::string& code) {
    switch (ursache) {
        case 16: return {netz, Ausloesegrund::Aufgelegt, {}};
        case 26: return {netz, Ausloesegrund::AnderswoAngenommen, {}};
        case 31: return {netz, Ausloesegrund::Umgeleitet, {}};
        case 102: return {netz, Ausloesegrund::AbbruchDurchNetz, {}};
        default: break;
    }
    return {netz, Ausloesegrund::Sonstiger, code + " (" + Q850Text(ursache) + ")"};
}

std::string Q850Text(int ursache) {
    switch (ursache) {
        case 1: return "Rufnummer nicht vergeben";
        case 3: return "kein Weg zum Ziel";
        case 16: return "normale Auslösung";
        case 17: return "Teilnehmer besetzt";
        case 18: return "Teilnehmer antwortet nicht";
        case 19: return "keine Annahme";
        case 20: return "Teilnehmer abwesend";
        case 21: return "Ruf abgewiesen";
        case 22: return "Rufnummer geändert";
        case 26: return "an anderem Telefon angenommen";
        case 27: return "Ziel gestört";
        case 28: return "Rufnummer unvollständig";
        case 29: return "Dienst abgelehnt";
        case 31: return "normale Auslösung ohne Angabe";
        case 34: return "keine Leitung frei";
        case 38: return "Netz gestört";
        case 41: return "vorübergehende Störung";
        case 42: return "Vermittlung überlastet";
        case 44: return "Kanal nicht verfügbar";
        case 47: return "Betriebsmittel nicht verfügbar";
        case 57: return "Dienst nicht freigeschaltet";
        case 58: return "Dienst nicht verfügbar";
        case 63: return "Dienst nicht verfügbar";
        case 65: return "Dienst nicht unterstützt";
        case 79: return "Dienst nicht unterstützt";
        case 88: return "unverträgliches Ziel";
        case 102: return "Zeitüberschreitung";
        case 111: return "Protokollfehler";
        case 127: return "Zusammenarbeit gestört";
        default: break;
    }
    if (ursache == 0) return "ohne Ursache";
    return "unbekannte Ursache";
}

}  // namespace rufpilot
