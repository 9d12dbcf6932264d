// What the gateway shows: three lists, the level labels, the call-back
// countdown, the lamps and the DTR/RTS indicators. The window implements it;
// the core decides what to show and never touches a widget.
#pragma once

#include <string>

namespace rufpilot {

enum class Liste { Anrufe, Fms, Meldungen };
enum class Lampe { Capi, Soundkarte, Port1, Port2, Port3, Port4 };
enum class Farbe { Rot, Gruen, Gelb, Schwarz };

class Oberflaeche {
public:
    virtual ~Oberflaeche() = default;
    // Column titles and widths of the three lists; without a call monitor
    // the lists stay without them.
    virtual void listenEinrichten() {}
    // A row of TAB-separated cells, inserted directly under the header.
    virtual void zeileEinfuegen(Liste liste, const std::string& zeile) = 0;
    // All data rows go; the header stays.
    virtual void listeLeeren(Liste liste) = 0;
    // The oldest data row (the bottom one) goes: a full list keeps its newest.
    virtual void aeltesteEntfernen(Liste liste) = 0;
    // The two level labels ("50 %").
    virtual void pegel(const std::string& links, const std::string& rechts) = 0;
    // The call-back countdown field; hidden when `sichtbar` is false.
    virtual void countdown(bool sichtbar, const std::string& text) = 0;
    virtual void lampe(Lampe lampe, Farbe farbe) = 0;
    // Indicator of line `leitung` (1 = DTR, else RTS) of COM`port` (1..4).
    virtual void leitung(int port, int leitung, bool hoch) = 0;
};

}  // namespace rufpilot
