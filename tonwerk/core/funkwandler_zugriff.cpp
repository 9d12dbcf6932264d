// Reading, writing and calling the control's members by name, as a dispatch
// interface would, through the member table (see mitglieder.h).
#include <stdexcept>

#include "tonwerk/core/funkwandler.h"
#include "tonwerk/core/mitglieder.h"

namespace tonwerk {

namespace {

[[noreturn]] void unbekannt(const std::string& name) {
    throw std::invalid_argument("Unbekanntes Mitglied: " + name);
}

// The first entry of that name with the given access.
template <class Zugang>
const Mitglied& eintrag(const std::string& name, Zugang Mitglied::*zugang) {
    for (const Mitglied& m : mitglieder())
        if (m.*zugang != nullptr && m.name == name) return m;
    unbekannt(name);
}

}  // namespace

Wert Funkwandler::lesen(const std::string& name) const { return eintrag(name, &Mitglied::lesen).lesen(*this); }

void Funkwandler::schreiben(const std::string& name, const Wert& wert) {
    eintrag(name, &Mitglied::schreiben).schreiben(*this, wert);
}

Wert Funkwandler::aufrufen(const std::string& name, std::vector<Wert>& argumente) {
    return eintrag(name, &Mitglied::aufrufen).aufrufen(*this, argumente);
}

}  // namespace tonwerk
