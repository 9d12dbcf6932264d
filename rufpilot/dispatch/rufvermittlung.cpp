#include "rufpilot/dispatch/rufvermittlung.h"

namespace rufpilot {

Rufvermittlung::Rufvermittlung(Vermittlungsteile teile)
    : t_(std::move(teile)), listen_(t_.oberflaeche, t_.schleife) {
    t_.funkwandler.setListener(this);
}

Rufvermittlung::~Rufvermittlung() { t_.funkwandler.setListener(nullptr); }

void Rufvermittlung::MeldungSchreiben(const std::string& text) { listen_.meldung(text); }

void Rufvermittlung::anrufZeileLaden(const std::string& zeile) { listen_.anrufZeile(zeile); }

}  // namespace rufpilot
