#include "rufpilot/ui/quellenstart.h"

#include "rufpilot/capi/libcapi20_treiber.h"
#include "rufpilot/config/quellen_datei.h"
#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/routermonitor/quellenwahl.h"
#include "rufpilot/sip/sip_treiber.h"

namespace rufpilot {

SipTreiberMacher sipTreiberMacher() {
    return [](const SipKonto& konto, MeldungSchreiben meldung) {
        SipOptionen optionen;
        optionen.meldung = std::move(meldung);
        return sipTreiberErzeugen(konto, std::move(optionen));
    };
}

Quellenstart::Quellenstart(const std::filesystem::path& verzeichnis, const Ereignisschleife& schleife,
                           SipTreiberMacher sip) {
    Quellenlesung gelesen = quellenLesen(verzeichnis);
    einstellungen_ = std::move(gelesen.werte);
    wartend_ = std::move(gelesen.hinweise);
    if (einstellungen_.art != Quellenart::Capi) wartend_.push_back("Anrufquelle:\t" + quellenName(einstellungen_.art));
    Quellenbau bau;
    bau.capi = [] { return std::make_unique<Libcapi20Treiber>(); };
    if (sip) {
        bau.sip = [this, sip = std::move(sip)](const SipKonto& konto) {
            return sip(konto, [this](const std::string& text) { melden(text); });
        };
    }
    bau.uhr = [&schleife] { return schleife.monotonMs(); };
    bau.meldung = [this](const std::string& text) { melden(text); };
    treiber_ = rufquelleBauen(einstellungen_, bau);
}

void Quellenstart::anbinden(Rufvermittlung& v) {
    ziel_ = &v;
    for (const std::string& text : wartend_) v.MeldungSchreiben(text);
    wartend_.clear();
}

void Quellenstart::melden(const std::string& text) {
    if (ziel_)
        ziel_->MeldungSchreiben(text);
    else if (wartend_.size() < 64)
        wartend_.push_back(text);
}

}  // namespace rufpilot
