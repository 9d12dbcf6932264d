// The gateway's own serial port: keying lines, their indicators, opening.
#include "rufpilot/dispatch/leitungen.h"

namespace rufpilot {

void Leitungen::LeitungEin(int port, int leitung) { leitungSchalten(port, leitung, true); }

void Leitungen::LeitungAus(int port, int leitung) { leitungSchalten(port, leitung, false); }

void Leitungen::leitungSchalten(int port, int leitung, bool ein) {
    if (port == 0) return;
    // Inverted lines are keyed by disabling them. A closed port or a line
    // that cannot be switched is not reported: the lamp shows the port.
    const bool an = ein != (t_.einstellungen.pegelumkehr == 1);
    if (leitung == 1)
        t_.anschluss.setzeDtr(an);
    else
        t_.anschluss.setzeRts(an);
    LeitungAnzeigen(ein ? 1 : 0, port, leitung);
}

void Leitungen::LeitungAnzeigen(int zustand, int port, int leitung) {
    if (port < 1 || port > 4) return;
    const bool umgekehrt = t_.einstellungen.pegelumkehr == 1;
    const bool hoch = (zustand == 1 && !umgekehrt) || (zustand == 0 && umgekehrt);
    t_.oberflaeche.leitung(port, leitung == 1 ? 1 : 2, hoch);
}

void Leitungen::PortPruefen() {
    Einstellungen& e = t_.einstellungen;
    t_.anschluss.schliessen();
    t_.schleife.ereignisseVerarbeiten();
    // Port 0 means the first port; normalised before opening so the port
    // opened, the lamp and the message all name the same one.
    if (e.comPort == 0) e.comPort = 1;
    const int port = e.comPort;
    // The port applies its stored switches as it opens: set them to rest
    // first, or inverted lines pass through the keyed (low) level on the way.
    const bool ruhe = e.pegelumkehr == 1;
    t_.anschluss.setzeDtr(ruhe);
    t_.anschluss.setzeRts(ruhe);
    t_.anschluss.oeffnen(port);
    auto lampe = [&](Farbe farbe) {
        if (port >= 1 && port <= 4)
            t_.oberflaeche.lampe(static_cast<Lampe>(static_cast<int>(Lampe::Port1) + port - 1), farbe);
    };
    lampe(Farbe::Gruen);
    if (!t_.anschluss.offen()) {
        lampe(Farbe::Gelb);
        MeldungSchreiben("Port besetzt:\t" + std::to_string(port));
    } else {
        MeldungSchreiben("Port OK\t" + std::to_string(port));
    }
    LeitungAus(port, 1);
    LeitungAus(port, 2);
    if (e.pegelumkehr == 1) MeldungSchreiben("Pegelumkehr ein:\tCOM-Port: " + std::to_string(port));
}

}  // namespace rufpilot
