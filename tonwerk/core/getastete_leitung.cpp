#include "tonwerk/core/getastete_leitung.h"

#include <stdexcept>

namespace tonwerk {

GetasteteLeitung::GetasteteLeitung(Funkwandler& fw, Long leitung, const std::string& ort)
    : fw_(fw), leitung_(leitung) {
    if (fw_.FunkSenden(leitung_) != 0) {
        // The port may have opened with the line half set: leave it low.
        fw_.FunkEmpfangen(leitung_);
        throw std::runtime_error(ort + ": Anschluss nicht vorhanden, nicht gesendet");
    }
}

GetasteteLeitung::~GetasteteLeitung() {
    if (gehalten_) fw_.FunkEmpfangen(leitung_);
}

Long GetasteteLeitung::freigeben() {
    gehalten_ = false;
    return fw_.FunkEmpfangen(leitung_);
}

Long getastetSenden(Funkwandler& fw, Long leitung, const std::string& ort,
                    const std::function<Long(Funkwandler&)>& senden) {
    GetasteteLeitung taste(fw, leitung, ort);
    const Long ergebnis = senden(fw);
    if (taste.freigeben() != 0) throw std::runtime_error(ort + ": Sender konnte nicht freigegeben werden");
    return ergebnis;
}

}  // namespace tonwerk
