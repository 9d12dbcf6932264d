// A call source in front of another that keeps what the gateway asked of it
// (let ring on, dial, hang up) and which call came in last, so the demo and
// the tests check the answers of any source the same way.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rufpilot/anrufe/anrufquelle.h"

namespace rufpilot {

class MitschreibendeQuelle : public Anrufquelle {
public:
    struct Auftrag {
        enum class Art { Weiterklingeln, Waehlen, Auflegen };
        Art art;
        AnrufId id = 0;
        std::string nummer, msn;  // Waehlen
        bool operator==(const Auftrag&) const = default;
    };

    explicit MitschreibendeQuelle(std::unique_ptr<Anrufquelle> innen) : besitz_(std::move(innen)), innen_(*besitz_) {}
    // Without taking ownership.
    explicit MitschreibendeQuelle(Anrufquelle& innen) : innen_(innen) {}

    const std::vector<Auftrag>& auftraege() const { return auftraege_; }
    // The id of the call that came in last (0 before the first).
    AnrufId letzterEingang() const { return letzterEingang_; }
    Anrufquelle& innen() { return innen_; }

    void meldungenAn(MeldungSchreiben meldung) override { innen_.meldungenAn(std::move(meldung)); }
    bool vorhanden(std::string& gesucht) override { return innen_.vorhanden(gesucht); }
    bool starten() override { return innen_.starten(); }
    void stoppen() override { innen_.stoppen(); }
    bool verbunden() const override { return innen_.verbunden(); }
    Anrufereignisse schritt() override {
        Anrufereignisse ereignisse = innen_.schritt();
        for (const Anrufereignis& e : ereignisse)
            if (const auto* ruf = std::get_if<Eingang>(&e)) letzterEingang_ = ruf->id;
        return ereignisse;
    }
    bool antwortNachAbgleich() const override { return innen_.antwortNachAbgleich(); }
    void pumpen() override { innen_.pumpen(); }
    void weiterklingeln(AnrufId id) override {
        auftraege_.push_back({Auftrag::Art::Weiterklingeln, id, {}, {}});
        innen_.weiterklingeln(id);
    }
    Waehlergebnis waehlen(const std::string& nummer, const std::string& msn) override {
        const Waehlergebnis ergebnis = innen_.waehlen(nummer, msn);
        auftraege_.push_back({Auftrag::Art::Waehlen, ergebnis.id.value_or(0), nummer, msn});
        return ergebnis;
    }
    void auflegen(AnrufId id) override {
        auftraege_.push_back({Auftrag::Art::Auflegen, id, {}, {}});
        innen_.auflegen(id);
    }

private:
    std::unique_ptr<Anrufquelle> besitz_;
    Anrufquelle& innen_;
    std::vector<Auftrag> auftraege_;
    AnrufId letzterEingang_ = 0;
};

}  // namespace rufpilot
