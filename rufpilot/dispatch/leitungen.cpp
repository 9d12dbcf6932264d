// The gateway's own serial port: keying lines, their indicators, opening.
#include "rufpilot/dispatch/leitungen.h"

#include <cerrno>

namespace rufpilot {

void Leitungen::LeitungEin(int port, int leitung) { leitungSchalten(port, leitung, true); }

void Leitungen::LeitungAus(int port, int leitung) { leitungSchalten(port, leitung, false); }

// Counting the holders keeps a line keyed until the last send on it has let
// go; line numbers 0 and 2 both key RTS and so share one count.
void Leitungen::leitungHalten(int port, int leitung) {
    if (halter_[{port, leitung == 1 ? 1 : 2}]++ == 0) LeitungEin(port, leitung);
}

void Leitungen::leitungLoslassen(int port, int leitung) {
    const auto it = halter_.find({port, leitung == 1 ? 1 : 2});
    if (it == halter_.end()) return;
    if (--it->second > 0) return;
    halter_.erase(it);
    LeitungAus(port, leitung);
}

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
    // A port that is missing or forbidden is no busy port: the system's port
    // leaves the reason of a failed open in errno (a simulated one leaves 0).
    errno = 0;
    const bool geoeffnet = t_.anschluss.oeffnen(port);
    const int grund = geoeffnet ? 0 : errno;
    auto lampe = [&](Farbe farbe) {
        if (port >= 1 && port <= 4)
            t_.oberflaeche.lampe(static_cast<Lampe>(static_cast<int>(Lampe::Port1) + port - 1), farbe);
    };
    lampe(Farbe::Gruen);
    if (!t_.anschluss.offen()) {
        lampe(Farbe::Gelb);
        const char* text = "Port besetzt:\t";
        if (grund == ENOENT || grund == ENODEV || grund == ENXIO) text = "Port nicht vorhanden:\t";
        else if (grund == EACCES || grund == EPERM) text = "Port ohne Berechtigung:\t";
        else if (grund == ENOTTY || grund == EINVAL) text = "Port ist keine serielle Schnittstelle:\t";
        MeldungSchreiben(text + std::to_string(port));
    } else {
        MeldungSchreiben("Port OK\t" + std::to_string(port));
    }
    LeitungAus(port, 1);
    LeitungAus(port, 2);
    if (e.pegelumkehr == 1) MeldungSchreiben("Pegelumkehr ein:\tCOM-Port: " + std::to_string(port));
}

}  // namespace rufpilot
