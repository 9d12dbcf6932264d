// Two call sources behind one: the first reports the calls (the router's call
// monitor), the second places the call-backs (the IP phone account). Calls
// the second one reports itself ring on at once: the first reports them
// already, so no call is handled twice. Call-back ids carry the top bit, so
// they never meet the ids of the first source's calls.
#pragma once

#include <memory>
#include <string>

#include "rufpilot/anrufe/anrufquelle.h"

namespace rufpilot {

class RueckrufWeiche : public Anrufquelle {
public:
    RueckrufWeiche(std::unique_ptr<Anrufquelle> anrufe, std::unique_ptr<Anrufquelle> rueckrufe);

    void meldungenAn(MeldungSchreiben meldung) override;
    bool vorhanden(std::string& gesucht) override;
    bool starten() override;
    void stoppen() override;
    bool verbunden() const override { return anrufe_->verbunden(); }
    Anrufereignisse schritt() override;
    bool antwortNachAbgleich() const override { return anrufe_->antwortNachAbgleich(); }
    void pumpen() override;
    void weiterklingeln(AnrufId id) override { anrufe_->weiterklingeln(id); }
    Waehlergebnis waehlen(const std::string& nummer, const std::string& msn) override;
    void auflegen(AnrufId id) override;

    Anrufquelle& anrufe() { return *anrufe_; }
    Anrufquelle& rueckrufe() { return *rueckrufe_; }

private:
    static constexpr AnrufId kRueckrufBit = 0x80000000U;

    std::unique_ptr<Anrufquelle> anrufe_;
    std::unique_ptr<Anrufquelle> rueckrufe_;
    bool rueckrufeBereit_ = false;
};

}  // namespace rufpilot
