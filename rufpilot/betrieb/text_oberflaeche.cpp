#include "rufpilot/betrieb/text_oberflaeche.h"

namespace rufpilot {

namespace {

const char* listenname(Liste liste) {
    switch (liste) {
        case Liste::Anrufe: return "Anruf   ";
        case Liste::Fms: return "FMS     ";
        case Liste::Meldungen: return "Meldung ";
    }
    return "";
}

const char* lampenname(Lampe lampe) {
    switch (lampe) {
        case Lampe::Capi: return "Capi";
        case Lampe::Soundkarte: return "Soundkarte";
        case Lampe::Port1: return "COM1";
        case Lampe::Port2: return "COM2";
        case Lampe::Port3: return "COM3";
        case Lampe::Port4: return "COM4";
    }
    return "";
}

const char* farbname(Farbe farbe) {
    switch (farbe) {
        case Farbe::Rot: return "rot";
        case Farbe::Gruen: return "grün";
        case Farbe::Gelb: return "gelb";
        case Farbe::Schwarz: return "schwarz";
    }
    return "";
}

std::string zellen(const std::string& zeile) {
    std::string text;
    for (char c : zeile) text += c == '\t' ? std::string(" | ") : std::string(1, c);
    return text;
}

}  // namespace

void TextOberflaeche::zeileEinfuegen(Liste liste, const std::string& zeile) {
    auto& rows = listen_[static_cast<std::size_t>(liste)];
    rows.insert(rows.begin(), zeile);
    aus_ << listenname(liste) << zellen(zeile) << '\n' << std::flush;
}

void TextOberflaeche::listeLeeren(Liste liste) { listen_[static_cast<std::size_t>(liste)].clear(); }

void TextOberflaeche::pegel(const std::string& links, const std::string& rechts) {
    if (pegelZeigen) aus_ << "Pegel    L: " << links << "  R: " << rechts << '\n';
}

void TextOberflaeche::countdown(bool sichtbar, const std::string& text) {
    const std::string neu = sichtbar ? text : std::string();
    // The countdown is redrawn every 40 ms; print it when its text changes.
    if (neu != countdown_ && !neu.empty()) aus_ << "Rückruf  " << neu << '\n' << std::flush;
    countdown_ = neu;
}

void TextOberflaeche::lampe(Lampe lampe, Farbe farbe) {
    auto [it, neu] = lampen_.try_emplace(lampe, farbe);
    if (!neu && it->second == farbe) return;
    it->second = farbe;
    aus_ << "Lampe    " << lampenname(lampe) << ": " << farbname(farbe) << '\n' << std::flush;
}

void TextOberflaeche::leitung(int port, int leitung, bool hoch) {
    auto [it, neu] = leitungen_.try_emplace({port, leitung}, hoch);
    if (!neu && it->second == hoch) return;
    it->second = hoch;
    aus_ << "Leitung  COM" << port << ' ' << (leitung == 1 ? "DTR" : "RTS") << ": " << (hoch ? "hoch" : "tief")
         << '\n' << std::flush;
}

}  // namespace rufpilot
