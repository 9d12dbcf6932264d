#include "zweite_rate.h"

#include "eigenschaften_setzen.h"

namespace tonwerk::werkzeug {

int pocBaud(Integer pocBaudRates) { return pocBaudRates == 1 ? 1200 : 512; }
Integer pocBaudRates(int baud) { return baud == 1200 ? 1 : 0; }

ZweiteRate::ZweiteRate(int abtastrate, const std::vector<std::string>& setzen, int baud, EreignisAusgabe& aus,
                       bool audioZeit)
    : decoder_(abtastrate), aus_(aus), baud_(baud), audioZeit_(audioZeit) {
    Funkwandler& fw = decoder_.kontrolle();
    eigenschaftenSetzen(fw, setzen);
    // Everything but POCSAG is the main control's job.
    fw.DecLinksFMS(Falsch);
    fw.DecRechtsFMS(Falsch);
    fw.DecLinksZVEI(Falsch);
    fw.DecRechtsZVEI(Falsch);
    fw.DecLinksTonruf(Falsch);
    fw.DecRechtsTonruf(Falsch);
    fw.DecLinksZusatzton(Falsch);
    fw.DecRechtsZusatzton(Falsch);
    fw.PocBaudRates(pocBaudRates(baud));
    fw.setListener(this);
    decoder_.starten();
}

ZweiteRate::~ZweiteRate() { decoder_.kontrolle().setListener(nullptr); }

void ZweiteRate::POCDecodierung(POCType& w) {
    aus_.pocMeldung(w, baud_, audioZeit_ ? std::optional<double>(decoder_.zeit()) : std::nullopt);
}

}  // namespace tonwerk::werkzeug
