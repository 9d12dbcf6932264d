#include "tonwerk/transmit/fms_senden.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tonwerk/formats/fms_telegramm.h"
#include "tonwerk/transmit/sendedatei.h"

namespace tonwerk {

namespace {

// The telegram alone into `g`, started afresh: from phase 0 at Ausgangspegel.
void telegrammSchreiben(Tongenerator& g, const Einstellungen& e, const std::string& bits) {
    g.neu();
    g.setzePegel(e.Ausgangspegel);
    g.setzeGenau(e.GenaueFrequenzen != 0);
    g.SchreibeFfskBits(bits);
}

// The lead-in's samples before `telegramm` samples; a transmission whose sample
// count does not fit the WAV header (32 bits, as Long) is refused rather than
// wrapped or built.
std::int64_t gepruefterVorlauf(const Einstellungen& e, Long telegramm) {
    const std::int64_t vorlauf = FmsVorlaufProben(e.FMSSendeVorlauf);
    if (vorlauf > std::int64_t{std::numeric_limits<Long>::max()} - telegramm) {
        throw std::overflow_error("FMSSendeVorlauf zu groß");
    }
    return vorlauf;
}

}  // namespace

std::int64_t FmsVorlaufProben(Long ms) {
    if (ms < 0) return 0;
    // In 64 bits: near the largest Long the rounded count plus one overflows 32.
    return static_cast<std::int64_t>(std::nearbyint(static_cast<double>(ms) * 11.025)) + 1;
}

void FmsSendeAudio(Tongenerator& g, const Einstellungen& e, std::string_view kennung, Integer richtung,
                   Integer status, Integer tki, Integer baustufe, std::string_view text) {
    const std::string bits = FmsTelegrammBits(kennung, status, baustufe, richtung, tki, text, e.FMSKurztextTRBOS);
    telegrammSchreiben(g, e, bits);
    const std::int64_t vorlauf = gepruefterVorlauf(e, g.Probenzahl());
    g.neu();
    g.SchreibeStille(static_cast<Long>(vorlauf));
    g.SchreibeFfskBits(bits);
}

Long FMSSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, std::string_view kennung,
               Integer richtung, Integer status, Integer tki, Integer baustufe, std::string_view text) {
    telegrammSchreiben(g, e, FmsTelegrammBits(kennung, status, baustufe, richtung, tki, text, e.FMSKurztextTRBOS));
    const std::int64_t vorlauf = gepruefterVorlauf(e, g.Probenzahl());
    SendedateiSenden(e, kSendedatei, g.Proben(), ausgabe, vorlauf);
    return 0;
}

}  // namespace tonwerk
