#include "rufpilot/betrieb/quellenstart.h"

#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/capi/libcapi20_treiber.h"
#include "rufpilot/config/quellen_datei.h"
#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/routermonitor/quellenwahl.h"
#include "rufpilot/sip/sip_treiber.h"

namespace rufpilot {

SipTreiberMacher sipTreiberMacher() {
    return [](const SipKonto& konto) { return sipTreiberErzeugen(konto); };
}

Quellenstart::Quellenstart(const std::filesystem::path& verzeichnis, const Ereignisschleife& schleife,
                           SipTreiberMacher sip) {
    Quellenlesung gelesen = quellenLesen(verzeichnis);
    einstellungen_ = std::move(gelesen.werte);
    wartend_ = std::move(gelesen.hinweise);
    if (einstellungen_.art != Quellenart::Capi) wartend_.push_back("Anrufquelle:\t" + quellenName(einstellungen_.art));
    Quellenbau bau;
    bau.capi = [] { return std::make_unique<CapiQuelle>(std::make_unique<Libcapi20Treiber>()); };
    bau.sip = std::move(sip);
    bau.uhr = [&schleife] { return schleife.monotonMs(); };
    treiber_ = rufquelleBauen(einstellungen_, bau);
}

void Quellenstart::anbinden(Rufvermittlung& v) {
    for (const std::string& text : wartend_) v.MeldungSchreiben(text);
    wartend_.clear();
}

}  // namespace rufpilot
