#include "rufpilot/routermonitor/rueckruf_weiche.h"

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_nachrichten.h"

namespace rufpilot {

namespace {
constexpr unsigned kFalscheApplId = 0x1101;
}  // namespace

RueckrufWeiche::RueckrufWeiche(std::unique_ptr<CapiTreiber> anrufe, std::uint32_t anrufController,
                               std::unique_ptr<CapiTreiber> rueckrufe, MeldungSchreiben meldung)
    : anrufe_(std::move(anrufe)),
      anrufController_(anrufController),
      rueckrufe_(std::move(rueckrufe)),
      meldung_(std::move(meldung)) {}

bool RueckrufWeiche::vorhanden(std::string& gesucht) {
    std::string zweites;
    const bool ja = anrufe_->vorhanden(gesucht);
    if (!rueckrufe_->vorhanden(zweites) && meldung_) meldung_("Rückrufe nicht möglich:\t" + zweites);
    return ja;
}

std::uint32_t RueckrufWeiche::registrieren(std::uint32_t pufferGroesse, std::uint32_t maxVerbindungen,
                                           std::uint32_t maxB3Bloecke, std::uint32_t maxB3Laenge) {
    applId_ = anrufe_->registrieren(pufferGroesse, maxVerbindungen, maxB3Bloecke, maxB3Laenge);
    if (applId_ == 0) return 0;
    rueckrufApplId_ = rueckrufe_->registrieren(pufferGroesse, maxVerbindungen, maxB3Bloecke, maxB3Laenge);
    if (rueckrufApplId_ == 0 && meldung_) meldung_("Rückrufe nicht möglich:\tAnmeldung fehlgeschlagen");
    return applId_;
}

bool RueckrufWeiche::anRueckrufe(std::span<const std::uint8_t> nachricht) const {
    const auto kopf = KopfLesen(nachricht);
    if (!kopf) return false;
    if (kopf->befehl == capi::kConnect && kopf->unterbefehl == capi::kReq) return true;
    if (kopf->befehl == capi::kListen) return false;
    // Everything else is addressed to a call: its controller says whose it is.
    return (Le32(nachricht, 8) & 0x7FU) != anrufController_;
}

unsigned RueckrufWeiche::weitergeben(std::span<const std::uint8_t> nachricht) {
    if (rueckrufApplId_ == 0) return kFalscheApplId;
    CapiNachricht kopie(nachricht.begin(), nachricht.end());
    LeSchreiben(kopie, 2, rueckrufApplId_, 2);
    return rueckrufe_->senden(rueckrufApplId_, kopie);
}

unsigned RueckrufWeiche::senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) {
    if (applId_ == 0 || applId != applId_) return kFalscheApplId;
    const auto kopf = KopfLesen(nachricht);
    if (kopf && kopf->befehl == capi::kListen && kopf->unterbefehl == capi::kReq && rueckrufApplId_ != 0)
        weitergeben(nachricht);
    if (anRueckrufe(nachricht)) return weitergeben(nachricht);
    return anrufe_->senden(applId, nachricht);
}

unsigned RueckrufWeiche::holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) {
    if (applId_ == 0 || applId != applId_) return kFalscheApplId;
    const unsigned ergebnis = anrufe_->holen(applId, nachricht);
    if (ergebnis == 0) {
        const auto kopf = KopfLesen(nachricht);
        if (kopf && kopf->befehl == capi::kConnect && kopf->unterbefehl == capi::kInd)
            rueckrufe_->anrufVernommen(nachricht);
    }
    if (ergebnis == 0 || rueckrufApplId_ == 0) return ergebnis;
    // The call-back side is drained whether or not the monitor is connected.
    for (int i = 0; i < 16 && rueckrufe_->holen(rueckrufApplId_, nachricht) == 0; ++i) {
        const auto kopf = KopfLesen(nachricht);
        if (!kopf) continue;
        if (kopf->befehl == capi::kConnect && kopf->unterbefehl == capi::kInd) {
            weitergeben(IndikationBeantworten(static_cast<std::uint16_t>(rueckrufApplId_), nachricht));
            continue;
        }
        if (kopf->befehl == capi::kListen && kopf->unterbefehl == capi::kConf) continue;
        LeSchreiben(nachricht, 2, applId_, 2);
        return 0;
    }
    return ergebnis;
}

void RueckrufWeiche::freigeben(std::uint32_t applId) {
    if (applId_ == 0 || applId != applId_) return;
    if (rueckrufApplId_ != 0) rueckrufe_->freigeben(rueckrufApplId_);
    anrufe_->freigeben(applId_);
    applId_ = rueckrufApplId_ = 0;
}

void RueckrufWeiche::pumpen() {
    anrufe_->pumpen();
    rueckrufe_->pumpen();
}

}  // namespace rufpilot
