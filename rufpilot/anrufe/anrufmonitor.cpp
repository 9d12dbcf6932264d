#include "rufpilot/anrufe/anrufmonitor.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

namespace rufpilot {

namespace {
template <class... F>
struct Faelle : F... {
    using F::operator()...;
};
template <class... F>
Faelle(F...) -> Faelle<F...>;
}  // namespace

Anrufmonitor::Anrufmonitor(Anrufquelle& quelle, MeldungSchreiben meldung, RufPruefen rufPruefen, Uhr uhr)
    : quelle_(quelle), meldung_(std::move(meldung)), rufPruefen_(std::move(rufPruefen)), uhr_(std::move(uhr)) {
    quelle_.meldungenAn([this](const std::string& text) { melden(text); });
}

bool Anrufmonitor::CapiStart() {
    gestartet_ = quelle_.starten();
    if (!gestartet_) melden("Capi-Anmeldung fehlgeschlagen");
    return gestartet_;
}

void Anrufmonitor::CapiStop() {
    if (gestartet_) quelle_.stoppen();
    gestartet_ = false;
}

void Anrufmonitor::CapiAbfrage() {
    if (!gestartet_) return;
    const std::int64_t jetzt = uhr_();
    for (Rueckruf& r : rueckrufe_)
        if (!r.abgebaut && jetzt - r.seitMs >= klingeldauerMs_) abbauen(r);
    // A call-back whose end the source never reports (a CAPI driver that
    // never confirms it) is given up after twice its ring time, and said.
    std::erase_if(rueckrufe_, [&](const Rueckruf& r) {
        if (!r.abgebaut || jetzt - r.seitMs < 2 * klingeldauerMs_) return false;
        melden("Rückruf ohne Ende vergessen:\t" + r.nummer);
        return true;
    });
    // Everything the source handed over is recorded before any dispatch
    // starts: its waits must not hold back the answers to the others.
    abholen();
    abarbeiten();
}

void Anrufmonitor::pumpen() {
    if (gestartet_)
        abholen();
    else
        quelle_.pumpen();
}

void Anrufmonitor::abholen() {
    for (const Anrufereignis& ereignis : quelle_.schritt()) {
        if (const auto* ruf = std::get_if<Eingang>(&ereignis))
            aufnehmen(*ruf);
        else
            behandeln(ereignis);
    }
}

void Anrufmonitor::behandeln(const Anrufereignis& ereignis) {
    std::visit(Faelle{
                   [&](const Eingang& ruf) { aufnehmen(ruf); },
                   [&](const Ende& ende) {
                       vergessen(ende.id);
                       melden("Rufbehandlung: \t" + AusloesungText(ende.grund));
                   },
                   [&](const RueckrufAngenommen& a) {
                       // The call-back only has to ring: it ends once answered.
                       for (Rueckruf& r : rueckrufe_)
                           if (r.id == a.id && !r.abgebaut) abbauen(r);
                   },
                   [&](const RueckrufAbgewiesen& a) {
                       vergessen(a.id);
                       melden("Rückruf abgewiesen:\t" + a.grund);
                   },
               },
               ereignis);
}

void Anrufmonitor::aufnehmen(const Eingang& ruf) {
    melden("Eingang: " + ruf.anrufer + "\t ruft: " + ruf.msn);
    // Over ISDN the answer follows the matcher, unless the call has to wait
    // for another dispatch; other sources answer as soon as it is recorded.
    const bool jetzt = imAbgleich_ || !quelle_.antwortNachAbgleich();
    if (jetzt) quelle_.weiterklingeln(ruf.id);
    wartend_.push_back({ruf, jetzt, uhr_()});
}

void Anrufmonitor::abarbeiten() {
    // Inside a dispatch's waits: the waiting calls get their turn when it is done.
    if (imAbgleich_) return;
    imAbgleich_ = true;
    while (!wartend_.empty() && gestartet_) {
        const Wartend naechster = wartend_.front();
        wartend_.pop_front();
        // Rounded up, so a call over the bound never reads as waiting just the bound.
        const std::int64_t gewartet = uhr_() - naechster.seitMs;
        if (gewartet > veraltetNachMs_)
            melden("Anruf verpasst: " + naechster.ruf.anrufer + " an " + naechster.ruf.msn + ", wartete " +
                   std::to_string((gewartet + 999) / 1000) + " s");
        else
            pruefen(naechster.ruf);
        if (!naechster.beantwortet && gestartet_) quelle_.weiterklingeln(naechster.ruf.id);
    }
    wartend_.clear();  // stopped meanwhile: nobody is left to dispatch them
    imAbgleich_ = false;
}

void Anrufmonitor::pruefen(const Eingang& ruf) {
    // Whatever goes wrong in the matcher, the call still rings on.
    try {
        rufPruefen_(ruf.anrufer, ruf.msn);
    } catch (const std::exception& fehler) {
        melden(std::string("Fehler bei der Rufbehandlung:\t") + fehler.what());
    } catch (...) {
        melden("Fehler bei der Rufbehandlung:\tunbekannter Fehler");
    }
}

void Anrufmonitor::waehlen(const std::string& nummer, const std::string& msn) {
    const Waehlergebnis ergebnis = quelle_.waehlen(nummer, msn);
    if (!ergebnis.id) {
        if (!ergebnis.abgewiesen.empty()) melden("Rückruf abgewiesen:\t" + ergebnis.abgewiesen);
        return;
    }
    if (rueckrufe_.size() >= kRueckrufeHoechstens) rueckrufe_.pop_front();
    rueckrufe_.push_back({*ergebnis.id, uhr_(), nummer, false});
}

void Anrufmonitor::abbauen(Rueckruf& r) {
    r.abgebaut = true;
    quelle_.auflegen(r.id);
}

void Anrufmonitor::vergessen(AnrufId id) {
    if (id != 0) std::erase_if(rueckrufe_, [&](const Rueckruf& r) { return r.id == id; });
}

void Anrufmonitor::melden(const std::string& meldung) {
    // A failing message list must not cost the call its answer.
    try {
        meldung_(meldung);
    } catch (...) {
    }
}

}  // namespace rufpilot
