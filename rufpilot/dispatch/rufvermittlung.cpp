#include "rufpilot/dispatch/rufvermittlung.h"

namespace rufpilot {

Rufvermittlung::Rufvermittlung(Vermittlungsteile teile)
    : t_(std::move(teile)),
      listen_(t_.oberflaeche, t_.schleife),
      leitungen_({t_.oberflaeche, t_.schleife, t_.anschluss, t_.einstellungen,
                  [this](const std::string& text) { MeldungSchreiben(text); }}),
      quittung_(t_.schleife, [this](const std::string& text) { MeldungSchreiben(text); }),
      rueckrufer_(t_.oberflaeche, t_.schleife, t_.waehler, [this](const std::string& text) { MeldungSchreiben(text); }) {
    t_.funkwandler.setListener(this);
}

Rufvermittlung::~Rufvermittlung() { t_.funkwandler.setListener(nullptr); }

void Rufvermittlung::MeldungSchreiben(const std::string& text) { listen_.meldung(text); }

void Rufvermittlung::anrufZeileLaden(const std::string& zeile) { listen_.anrufZeile(zeile); }

void Rufvermittlung::FMSDecodierung(tonwerk::FmsTlgType& r) {
    listen_.fmsZeile(r.Kennung + '\t' + std::to_string(r.Status) + '\t' + (r.Richtung == 0 ? "zur Lst" : "zum Fzg") +
                     '\t' + r.Text);
    quittung_.telegramm(r);
}

void Rufvermittlung::Signalstaerke(tonwerk::SignalstaerkeType& w) {
    auto prozent = [](tonwerk::Long wert) { return std::to_string(wert * 100 / 128) + " %"; };
    t_.oberflaeche.pegel(prozent(w.links), prozent(w.rechts));
}

}  // namespace rufpilot
