#include "rufpilot/capi/ausloesegrund.h"

#include <cstdio>

namespace rufpilot {

namespace {

std::string InfoWorte(unsigned info) {
    switch (info) {
        case 0x1101: return "ungültige Anwendungsnummer";
        case 0x1102: return "ungültige Nachricht";
        case 0x1103: return "Warteschlange voll";
        case 0x1104: return "Warteschlange leer";
        case 0x1105: return "Nachricht verloren";
        case 0x1106: return "unbekannte Abmeldung";
        case 0x1107: return "CAPI belegt";
        case 0x1108: return "Verbindung zur CAPI verloren";
        case 0x2001: return "Nachricht im falschen Zustand";
        case 0x2002: return "ungültiger Controller oder ungültige PLCI";
        case 0x2003: return "keine PLCI frei";
        case 0x2004: return "keine NCCI frei";
        case 0x2005: return "keine Anmeldung frei";
        case 0x2007: return "ungültiger Parameter";
        default: break;
    }
    if ((info & 0xFF00U) == 0x3000U) return "nicht unterstützte Angabe";
    return "unbekannter Fehler";
}

std::string GrundWorte(std::uint16_t grund) {
    if ((grund & 0xFF00U) == 0x3400U) return Q850Text(grund & 0x7F);
    switch (grund) {
        case 0x3301: return "Protokollfehler Schicht 1";
        case 0x3302: return "Protokollfehler Schicht 2";
        case 0x3303: return "Protokollfehler Schicht 3";
        default: break;
    }
    if (grund == 0) return "normale Auslösung";
    return "unbekannter Grund";
}

}  // namespace

Ausloesung CapiAusloesung(std::uint16_t grund) {
    switch (grund) {
        case kCapiAufgelegt: return {Netz::Isdn, Ausloesegrund::Aufgelegt, {}};
        case kCapiAmComputerAngenommen: return {Netz::Isdn, Ausloesegrund::AmComputerAngenommen, {}};
        case kCapiAnderswoAngenommen: return {Netz::Isdn, Ausloesegrund::AnderswoAngenommen, {}};
        case 0x349F: return {Netz::Isdn, Ausloesegrund::Umgeleitet, {}};
        case 0x34E6: return {Netz::Isdn, Ausloesegrund::AbbruchDurchNetz, {}};
        default: break;
    }
    return {Netz::Isdn, Ausloesegrund::Sonstiger,
            std::to_string(static_cast<std::int16_t>(grund)) + " (" + GrundWorte(grund) + ")"};
}

std::string CapiInfoText(unsigned info) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", info);
    return std::string(text) + " (" + InfoWorte(info) + ")";
}

}  // namespace rufpilot
