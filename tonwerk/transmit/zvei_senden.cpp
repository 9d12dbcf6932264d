#include "tonwerk/transmit/zvei_senden.h"

#include "tonwerk/formats/zvei_tontabelle.h"
#include "tonwerk/transmit/sendedatei.h"

namespace tonwerk {

namespace {

constexpr Long kPause = 6615;   // 0.6 s
constexpr Long kNachlauf = 772; // 70 ms

void folge(Tongenerator& g, std::string_view rufnummer) {
    g.Phase = 0;
    g.PhaseGenau = 0.0;
    for (char32_t zeichen : ZveiSendefolge(rufnummer)) g.SchreibeZveiTon(ZveiSendeFrequenz(zeichen));
    // A short alternating tail after the last tone.
    for (int i = 0; i < 3; ++i) {
        g.SchreibeProben(1, 126);
        g.SchreibeProben(1, 130);
    }
}

}  // namespace

void ZveiSendeAudio(Tongenerator& g, const Einstellungen& e, std::string_view rufnummer, Boolean doppeltSenden,
                    Long zusatzTon) {
    g.neu();
    g.setzePegel(e.Ausgangspegel);
    g.setzeGenau(e.GenaueFrequenzen != 0);
    g.SchreibeStille(kPause);
    folge(g, rufnummer);
    if (doppeltSenden != 0) {
        g.SchreibeStille(kPause);
        folge(g, rufnummer);
    }
    if (zusatzTon >= 1) g.SchreibeStille(kPause);
    switch (zusatzTon) {
        case 1:
            for (int i = 0; i < 5; ++i) {
                g.SchreibeDauerton(2600, 8820);
                g.SchreibeStille(2205);
            }
            break;
        case 2: g.SchreibeZweiton(675, 1240); break;
        case 3: g.SchreibeZweiton(675, 1860); break;
        case 4: g.SchreibeZweiton(675, 825); break;
        case 5: g.SchreibeZweiton(675, 2280); break;
        case 6: g.SchreibeZweiton(675, 1010); break;
        default: break;
    }
    g.SchreibeStille(kNachlauf);
}

Long ZVEISenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, std::string_view rufnummer,
                Boolean doppeltSenden, Long zusatzTon) {
    ZveiSendeAudio(g, e, rufnummer, doppeltSenden, zusatzTon);
    SendedateiSenden(e, kSendedatei, g.Proben(), ausgabe);
    return 0;
}

}  // namespace tonwerk
