#include "tonwerk/transmit/tonruf_senden.h"

#include "tonwerk/transmit/sendedatei.h"

namespace tonwerk {

void TonrufSendeAudio(Tongenerator& g, const Einstellungen& e, Long tonruf) {
    struct Ruf {
        double hz;
        Long proben;
    };
    static constexpr Ruf kRufe[4] = {{1750, 11025}, {1750, 44100}, {2135, 11025}, {2135, 44100}};
    const Ruf ruf = tonruf >= 0 && tonruf <= 3 ? kRufe[tonruf] : Ruf{1000, 11025};
    g.neu();
    g.setzePegel(e.Ausgangspegel);
    g.setzeGenau(e.GenaueFrequenzen != 0);
    g.SchreibeStille(6615);
    g.SchreibeDauerton(ruf.hz, ruf.proben);
    g.SchreibeStille(772);
}

Long TonrufSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, Long tonruf) {
    TonrufSendeAudio(g, e, tonruf);
    SendedateiSenden(e, kSendedatei, g.Proben(), ausgabe);
    return 0;
}

}  // namespace tonwerk
