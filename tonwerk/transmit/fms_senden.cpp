#include "tonwerk/transmit/fms_senden.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tonwerk/formats/fms_telegramm.h"
#include "tonwerk/transmit/sendedatei.h"

namespace tonwerk {

void FmsSendeAudio(Tongenerator& g, const Einstellungen& e, std::string_view kennung, Integer richtung,
                   Integer status, Integer tki, Integer baustufe, std::string_view text) {
    const std::string bits = FmsTelegrammBits(kennung, status, baustufe, richtung, tki, text, e.FMSKurztextTRBOS);
    g.neu();
    g.setzePegel(e.Ausgangspegel);
    const double vorlauf = static_cast<double>(e.FMSSendeVorlauf) * 11.025;
    // A lead-in whose sample count does not fit 32 bits is refused rather than wrapped.
    if (vorlauf >= static_cast<double>(std::numeric_limits<Long>::max())) {
        throw std::overflow_error("FMSSendeVorlauf zu groß");
    }
    if (vorlauf >= 0) g.SchreibeStille(static_cast<Long>(std::nearbyint(vorlauf)) + 1);
    g.SchreibeFfskBits(bits);
}

Long FMSSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, std::string_view kennung,
               Integer richtung, Integer status, Integer tki, Integer baustufe, std::string_view text) {
    FmsSendeAudio(g, e, kennung, richtung, status, tki, baustufe, text);
    SendedateiSenden(e, kSendedatei, g.Proben(), ausgabe);
    return 0;
}

}  // namespace tonwerk
