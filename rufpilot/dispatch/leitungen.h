// The gateway's own serial port: the two keying lines (line 1 = DTR, any
// other = RTS; port 0 = none), their indicators in the window, and opening
// the port with both lines at rest.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "rufpilot/config/einstellungen.h"
#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/oberflaeche.h"
#include "tonwerk/platform/serieller_anschluss.h"

namespace rufpilot {

struct Leitungsteile {
    Oberflaeche& oberflaeche;
    Ereignisschleife& schleife;
    tonwerk::SeriellerAnschluss& anschluss;  // the gateway's keying port
    Einstellungen& einstellungen;
    std::function<void(const std::string&)> meldung;
};

class Leitungen {
public:
    explicit Leitungen(Leitungsteile teile) : t_(std::move(teile)) {}

    void LeitungEin(int port, int leitung);
    void LeitungAus(int port, int leitung);
    void LeitungAnzeigen(int zustand, int port, int leitung);
    // A send's hold on a line (Tastung): the first holder keys it, the last
    // one to let go releases it, so no send can unkey another's telegram.
    void leitungHalten(int port, int leitung);
    void leitungLoslassen(int port, int leitung);
    // Whether any send holds a line keyed now.
    bool getastet() const { return !halter_.empty(); }
    // (Re)opens the keying port from the settings, reports it, puts both lines to rest.
    void PortPruefen();

private:
    void leitungSchalten(int port, int leitung, bool ein);
    void MeldungSchreiben(const std::string& text) { t_.meldung(text); }

    Leitungsteile t_;
    // Holders per keyed line, by port and physical line (1 = DTR, 2 = RTS).
    std::map<std::pair<int, int>, int> halter_;
};

}  // namespace rufpilot
