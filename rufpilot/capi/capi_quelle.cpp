#include "rufpilot/capi/capi_quelle.h"

#include <algorithm>

#include "rufpilot/capi/ausloesegrund.h"
#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_rufnummern.h"

namespace rufpilot {

bool CapiQuelle::starten() {
    applId_ = treiber_.registrieren(3072, 2, 7, 2048);
    if (applId_ == 0) return false;
    senden(ListenReq(id()));
    return true;
}

void CapiQuelle::stoppen() {
    if (applId_ != 0) treiber_.freigeben(applId_);
    applId_ = 0;
    eingehend_.clear();
}

AnrufId CapiQuelle::neueId() {
    const AnrufId neu = naechsteId_++;
    if (naechsteId_ == 0) naechsteId_ = 1;
    return neu;
}

Anrufereignisse CapiQuelle::schritt() {
    if (auto ereignis = nachricht()) return {std::move(*ereignis)};
    return {};
}

std::optional<Anrufereignis> CapiQuelle::nachricht() {
    if (applId_ == 0) return std::nullopt;
    CapiNachricht nachricht;
    const unsigned ergebnis = treiber_.holen(applId_, nachricht);
    // A delivered message says nothing about the connection: some drivers
    // still hand out what they queued before it was lost.
    if (ergebnis != 0) {
        verbunden_ = ergebnis != kCapiVerbindungVerloren;
        // An empty queue is the normal case; a broken driver is said once.
        if (ergebnis != kCapiWarteschlangeLeer && !abholfehlerGemeldet_) {
            melden("Capi-Fehler beim Abholen:\t" + CapiInfoText(ergebnis));
            abholfehlerGemeldet_ = true;
        }
        return std::nullopt;
    }
    abholfehlerGemeldet_ = false;
    const auto kopf = KopfLesen(nachricht);
    if (!kopf) {
        melden("Capi-Nachricht verworfen:\t" + std::to_string(nachricht.size()) + " Bytes");
        return std::nullopt;
    }
    if (kopf->unterbefehl == capi::kConf) return bestaetigung(*kopf, nachricht);
    if (kopf->unterbefehl != capi::kInd) return std::nullopt;
    switch (kopf->befehl) {
        case capi::kConnect: return eingang(*kopf, nachricht);
        case capi::kDisconnect: return ende(*kopf, nachricht);
        case capi::kConnectActive: return verbunden(*kopf, nachricht);
        case capi::kInfo: senden(InfoResp(id(), kopf->nummer, Le32(ParameterLesen(nachricht), 0))); break;
        default: senden(IndikationBeantworten(id(), nachricht)); break;
    }
    return std::nullopt;
}

Eingang CapiQuelle::eingang(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    // The answer needs this call's own PLCI and message number even when a
    // second call is handled inside the matcher's waits.
    const Eingangsruf ruf = ConnectIndLesen(nachricht);
    const AnrufId anruf = neueId();
    eingehend_.push_back({anruf, ruf.plci, kopf.nummer});
    return {anruf, AnruferAusNummernbereich(ruf.nummernbereich), MsnAusNummernbereich(ruf.nummernbereich)};
}

Ende CapiQuelle::ende(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    const Abbauanzeige a = DisconnectIndLesen(nachricht);
    senden(DisconnectResp(id(), kopf.nummer, a.plci));
    AnrufId anruf = 0;
    for (const Rueckruf& r : rueckrufe_)
        if (r.plci == a.plci) anruf = r.id;
    std::erase_if(rueckrufe_, [&](const Rueckruf& r) { return r.plci == a.plci; });
    for (const Eingehend& e : eingehend_)
        if (e.plci == a.plci) anruf = e.id;
    return {anruf, CapiAusloesung(static_cast<std::uint16_t>(a.grund))};
}

std::optional<Anrufereignis> CapiQuelle::verbunden(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    const std::uint32_t plci = Le32(ParameterLesen(nachricht), 0);
    senden(ConnectActiveResp(id(), kopf.nummer, plci));
    for (const Rueckruf& r : rueckrufe_)
        if (r.plci == plci && !r.abgebaut) return RueckrufAngenommen{r.id};
    return std::nullopt;
}

std::optional<Anrufereignis> CapiQuelle::bestaetigung(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    const Bestaetigung b = BestaetigungLesen(nachricht);
    if (kopf.befehl == capi::kConnect) {
        const auto r = std::find_if(rueckrufe_.begin(), rueckrufe_.end(),
                                    [&](const Rueckruf& x) { return !x.plci && x.nummer == kopf.nummer; });
        if (r == rueckrufe_.end()) return std::nullopt;
        // Info values of class 0x00xx report success.
        if (b.info >= 0x0100) {
            const AnrufId anruf = r->id;
            rueckrufe_.erase(r);
            return RueckrufAbgewiesen{anruf, CapiInfoText(b.info)};
        }
        r->plci = b.adresse;
        if (r->abbauen) abbauen(*r);
    } else if (kopf.befehl == capi::kDisconnect && b.info >= 0x0100) {
        // No DISCONNECT_IND follows a refused clearing: the call is gone already.
        std::erase_if(rueckrufe_, [&](const Rueckruf& r) { return r.plci == b.adresse; });
    }
    return std::nullopt;
}

void CapiQuelle::weiterklingeln(AnrufId anruf) {
    const auto e = std::find_if(eingehend_.begin(), eingehend_.end(), [&](const Eingehend& x) { return x.id == anruf; });
    if (e == eingehend_.end()) return;
    const Eingehend ruf = *e;
    eingehend_.erase(e);
    if (applId_ == 0) return;
    senden(AlertReq(id(), ruf.plci));
    senden(ConnectResp(id(), ruf.nummer, ruf.plci));
}

Waehlergebnis CapiQuelle::waehlen(const std::string& nummer, const std::string& msn) {
    ++nachrichtenzaehler_;
    const auto nachrichtennummer = static_cast<std::uint16_t>(nachrichtenzaehler_);
    const unsigned ergebnis = treiber_.senden(applId_, ConnectReq(id(), nachrichtennummer, nummer, msn));
    if (ergebnis != 0) return {std::nullopt, CapiInfoText(ergebnis)};
    if (rueckrufe_.size() >= kRueckrufeHoechstens) rueckrufe_.pop_front();
    const AnrufId anruf = neueId();
    rueckrufe_.push_back({anruf, nachrichtennummer, std::nullopt});
    return {anruf, {}};
}

void CapiQuelle::auflegen(AnrufId anruf) {
    for (Rueckruf& r : rueckrufe_) {
        if (r.id != anruf || r.abgebaut) continue;
        if (r.plci) {
            abbauen(r);
        } else if (!r.abbauen) {
            // No CONNECT_CONF yet, so no PLCI to clear it on: it is cleared
            // the moment a confirmation gives one.
            r.abbauen = true;
            melden("Rückruf unbestätigt:\tAbbau, sobald die CAPI ihn bestätigt");
        }
    }
}

void CapiQuelle::abbauen(Rueckruf& r) {
    r.abgebaut = true;
    senden(DisconnectReq(id(), r.nummer, *r.plci));
}

void CapiQuelle::senden(const CapiNachricht& nachricht) { treiber_.senden(applId_, nachricht); }

}  // namespace rufpilot
