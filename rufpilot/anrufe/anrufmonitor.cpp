#include "rufpilot/anrufe/anrufmonitor.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "rufpilot/capi/ausloesegrund.h"
#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_rufnummern.h"

namespace rufpilot {

namespace {

std::string Hex(unsigned wert) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", wert);
    return text;
}

}  // namespace

Anrufmonitor::Anrufmonitor(CapiTreiber& treiber, MeldungSchreiben meldung, RufPruefen rufPruefen, Uhr uhr)
    : treiber_(treiber), meldung_(std::move(meldung)), rufPruefen_(std::move(rufPruefen)), uhr_(std::move(uhr)) {}

bool Anrufmonitor::CapiStart() {
    applId_ = treiber_.registrieren(3072, 2, 7, 2048);
    if (applId_ == 0) {
        melden("Capi-Anmeldung fehlgeschlagen");
        return false;
    }
    senden(ListenReq(id()));
    return true;
}

void Anrufmonitor::CapiStop() {
    if (applId_ != 0) treiber_.freigeben(applId_);
    applId_ = 0;
}

void Anrufmonitor::CapiAbfrage() {
    if (applId_ == 0) return;
    for (const auto& abbau : rueckrufe_.faellig(uhr_(), klingeldauerMs_)) rueckrufAbbauen(abbau);

    CapiNachricht nachricht;
    const unsigned ergebnis = treiber_.holen(applId_, nachricht);
    // A delivered message says nothing about the connection: some drivers
    // still hand out what they queued before it was lost.
    if (ergebnis != 0) verbunden_ = ergebnis != kCapiVerbindungVerloren;
    if (ergebnis != 0) {
        // An empty queue is the normal case; a broken driver is said once.
        if (ergebnis != kCapiWarteschlangeLeer && !abholfehlerGemeldet_) {
            melden("Capi-Fehler beim Abholen:\t" + Hex(ergebnis));
            abholfehlerGemeldet_ = true;
        }
        return;
    }
    abholfehlerGemeldet_ = false;
    const auto kopf = KopfLesen(nachricht);
    if (!kopf) {
        melden("Capi-Nachricht verworfen:\t" + std::to_string(nachricht.size()) + " Bytes");
        return;
    }
    if (kopf->unterbefehl == capi::kConf) {
        bestaetigungBehandeln(*kopf, nachricht);
    } else if (kopf->unterbefehl == capi::kInd) {
        switch (kopf->befehl) {
            case capi::kConnect: anrufBehandeln(*kopf, nachricht); break;
            case capi::kDisconnect: ausloesungBehandeln(*kopf, nachricht); break;
            case capi::kConnectActive: verbundenBehandeln(*kopf, nachricht); break;
            case capi::kInfo: senden(InfoResp(id(), kopf->nummer, Le32(ParameterLesen(nachricht), 0))); break;
            default: senden(IndikationBeantworten(id(), nachricht)); break;
        }
    }
}

void Anrufmonitor::anrufBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    // The answer needs this call's own PLCI and message number even when a
    // second call is handled inside the matcher's waits.
    const Eingangsruf ruf = ConnectIndLesen(nachricht);
    const std::uint16_t nummer = kopf.nummer;
    const std::string msn = MsnAusNummernbereich(ruf.nummernbereich);
    const std::string anrufer = AnruferAusNummernbereich(ruf.nummernbereich);
    melden("Eingang: " + anrufer + "\t ruft: " + msn);
    // Whatever goes wrong in the matcher, the call is still answered.
    try {
        rufPruefen_(anrufer, msn);
    } catch (const std::exception& fehler) {
        melden(std::string("Fehler bei der Rufbehandlung:\t") + fehler.what());
    } catch (...) {
        melden("Fehler bei der Rufbehandlung:\tunbekannter Fehler");
    }
    if (applId_ == 0) return;  // released while the matcher waited
    senden(AlertReq(id(), ruf.plci));
    senden(ConnectResp(id(), nummer, ruf.plci));
}

void Anrufmonitor::ausloesungBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    const Ausloesung ende = DisconnectIndLesen(nachricht);
    rueckrufe_.vergessen(ende.plci);
    melden("Rufbehandlung: \t" + AusloesegrundText(ende.grund));
    senden(DisconnectResp(id(), kopf.nummer, ende.plci));
}

void Anrufmonitor::verbundenBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    const std::uint32_t plci = Le32(ParameterLesen(nachricht), 0);
    senden(ConnectActiveResp(id(), kopf.nummer, plci));
    if (const auto abbau = rueckrufe_.angenommen(plci)) rueckrufAbbauen(*abbau);
}

void Anrufmonitor::bestaetigungBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht) {
    const Bestaetigung b = BestaetigungLesen(nachricht);
    if (kopf.befehl == capi::kConnect) {
        if (rueckrufe_.bestaetigt(kopf.nummer, b.adresse, b.info) == Rueckrufe::Bestaetigt::Abgewiesen) {
            melden("Rückruf abgewiesen:\t" + Hex(b.info));
        }
    } else if (kopf.befehl == capi::kDisconnect && b.info >= 0x0100) {
        // No DISCONNECT_IND follows a refused clearing: the call is gone already.
        rueckrufe_.vergessen(b.adresse);
    }
}

void Anrufmonitor::waehlen(const std::string& nummer, const std::string& msn) {
    ++nachrichtenzaehler_;
    const auto nachrichtennummer = static_cast<std::uint16_t>(nachrichtenzaehler_);
    const unsigned ergebnis = treiber_.senden(applId_, ConnectReq(id(), nachrichtennummer, nummer, msn));
    if (ergebnis != 0) {
        melden("Rückruf abgewiesen:\t" + Hex(ergebnis));
        return;
    }
    rueckrufe_.gewaehlt(nachrichtennummer, uhr_());
}

void Anrufmonitor::rueckrufAbbauen(const Rueckrufe::Abbau& abbau) {
    senden(DisconnectReq(id(), abbau.nummer, abbau.plci));
}

void Anrufmonitor::senden(const CapiNachricht& nachricht) { treiber_.senden(applId_, nachricht); }

void Anrufmonitor::melden(const std::string& meldung) {
    // A failing message list must not cost the call its answer.
    try {
        meldung_(meldung);
    } catch (...) {
    }
}

}  // namespace rufpilot
