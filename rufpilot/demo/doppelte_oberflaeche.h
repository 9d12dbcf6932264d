// Shows everything on two surfaces at once: the demo keeps its text surface
// (which it checks) and also drives the window.
#pragma once

#include "rufpilot/dispatch/oberflaeche.h"

namespace rufpilot {

class DoppelteOberflaeche : public Oberflaeche {
public:
    // `zweite` may be null.
    DoppelteOberflaeche(Oberflaeche& erste, Oberflaeche* zweite) : a_(erste), b_(zweite) {}

    void listenEinrichten() override {
        a_.listenEinrichten();
        if (b_) b_->listenEinrichten();
    }
    void zeileEinfuegen(Liste liste, const std::string& zeile) override {
        a_.zeileEinfuegen(liste, zeile);
        if (b_) b_->zeileEinfuegen(liste, zeile);
    }
    void listeLeeren(Liste liste) override {
        a_.listeLeeren(liste);
        if (b_) b_->listeLeeren(liste);
    }
    void aeltesteEntfernen(Liste liste) override {
        a_.aeltesteEntfernen(liste);
        if (b_) b_->aeltesteEntfernen(liste);
    }
    void pegel(const std::string& links, const std::string& rechts) override {
        a_.pegel(links, rechts);
        if (b_) b_->pegel(links, rechts);
    }
    void countdown(bool sichtbar, const std::string& text) override {
        a_.countdown(sichtbar, text);
        if (b_) b_->countdown(sichtbar, text);
    }
    void lampe(Lampe lampe, Farbe farbe) override {
        a_.lampe(lampe, farbe);
        if (b_) b_->lampe(lampe, farbe);
    }
    void leitung(int port, int leitung, bool hoch) override {
        a_.leitung(port, leitung, hoch);
        if (b_) b_->leitung(port, leitung, hoch);
    }

private:
    Oberflaeche& a_;
    Oberflaeche* b_;
};

}  // namespace rufpilot
