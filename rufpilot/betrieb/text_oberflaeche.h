// The gateway without a window: every row of the three lists is printed as it
// is inserted (cells separated by " | "), lamps and line indicators when they
// change. It also keeps the lists, so the demo can check what was shown.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "rufpilot/dispatch/oberflaeche.h"

namespace rufpilot {

class TextOberflaeche : public Oberflaeche {
public:
    explicit TextOberflaeche(std::ostream& aus) : aus_(aus) {}

    void zeileEinfuegen(Liste liste, const std::string& zeile) override;
    void listeLeeren(Liste liste) override;
    void aeltesteEntfernen(Liste liste) override {
        auto& l = listen_[static_cast<std::size_t>(liste)];
        if (!l.empty()) l.pop_back();
    }
    void pegel(const std::string& links, const std::string& rechts) override;
    void countdown(bool sichtbar, const std::string& text) override;
    void lampe(Lampe lampe, Farbe farbe) override;
    void leitung(int port, int leitung, bool hoch) override;

    // Rows of a list, newest first, as a window shows them.
    const std::vector<std::string>& zeilen(Liste liste) const { return listen_[static_cast<std::size_t>(liste)]; }
    std::optional<Farbe> lampenfarbe(Lampe lampe) const {
        const auto it = lampen_.find(lampe);
        return it == lampen_.end() ? std::nullopt : std::optional<Farbe>(it->second);
    }
    std::optional<bool> leitungHoch(int port, int leitung) const {
        const auto it = leitungen_.find({port, leitung});
        return it == leitungen_.end() ? std::nullopt : std::optional<bool>(it->second);
    }
    bool listenEingerichtet() const { return eingerichtet_; }
    void listenEinrichten() override { eingerichtet_ = true; }

    // Whether level changes are printed (off by default: they come every buffer).
    bool pegelZeigen = false;

private:
    std::ostream& aus_;
    std::array<std::vector<std::string>, 3> listen_;
    std::map<Lampe, Farbe> lampen_;
    std::map<std::pair<int, int>, bool> leitungen_;
    std::string countdown_;
    bool eingerichtet_ = false;
};

}  // namespace rufpilot
