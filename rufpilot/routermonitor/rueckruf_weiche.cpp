#include "rufpilot/routermonitor/rueckruf_weiche.h"

namespace rufpilot {

RueckrufWeiche::RueckrufWeiche(std::unique_ptr<Anrufquelle> anrufe, std::unique_ptr<Anrufquelle> rueckrufe)
    : anrufe_(std::move(anrufe)), rueckrufe_(std::move(rueckrufe)) {}

void RueckrufWeiche::meldungenAn(MeldungSchreiben meldung) {
    anrufe_->meldungenAn(meldung);
    rueckrufe_->meldungenAn(meldung);
    Anrufquelle::meldungenAn(std::move(meldung));
}

bool RueckrufWeiche::vorhanden(std::string& gesucht) {
    std::string zweites;
    const bool ja = anrufe_->vorhanden(gesucht);
    if (!rueckrufe_->vorhanden(zweites)) melden("Rückrufe nicht möglich:\t" + zweites);
    return ja;
}

bool RueckrufWeiche::starten() {
    if (!anrufe_->starten()) return false;
    rueckrufeBereit_ = rueckrufe_->starten();
    if (!rueckrufeBereit_) melden("Rückrufe nicht möglich:\tAnmeldung fehlgeschlagen");
    return true;
}

void RueckrufWeiche::stoppen() {
    if (rueckrufeBereit_) rueckrufe_->stoppen();
    rueckrufeBereit_ = false;
    anrufe_->stoppen();
}

Anrufereignisse RueckrufWeiche::schritt() {
    Anrufereignisse alle = anrufe_->schritt();
    // The call-back side works whether or not the first source is connected.
    if (!rueckrufeBereit_) return alle;
    for (Anrufereignis& ereignis : rueckrufe_->schritt()) {
        if (const auto* ruf = std::get_if<Eingang>(&ereignis)) {
            rueckrufe_->weiterklingeln(ruf->id);
            continue;
        }
        std::visit([](auto& e) { e.id |= kRueckrufBit; }, ereignis);
        alle.push_back(std::move(ereignis));
    }
    return alle;
}

void RueckrufWeiche::pumpen() {
    anrufe_->pumpen();
    rueckrufe_->pumpen();
}

Waehlergebnis RueckrufWeiche::waehlen(const std::string& nummer, const std::string& msn) {
    if (!rueckrufeBereit_) return {std::nullopt, "Rückrufquelle nicht angemeldet"};
    Waehlergebnis ergebnis = rueckrufe_->waehlen(nummer, msn);
    if (ergebnis.id) *ergebnis.id |= kRueckrufBit;
    return ergebnis;
}

void RueckrufWeiche::auflegen(AnrufId id) {
    if ((id & kRueckrufBit) != 0 && rueckrufeBereit_) rueckrufe_->auflegen(id & ~kRueckrufBit);
}

}  // namespace rufpilot
