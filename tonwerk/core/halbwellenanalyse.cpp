#include "tonwerk/core/halbwellenanalyse.h"

#include <algorithm>
#include <cstdlib>

namespace tonwerk {

namespace {

// The run state of one channel while a buffer is analysed.
struct Kanal {
    int lauf;
    int pegel;
    int n = 0;
    int letzte = 0;  // Laenge of entry n - 1, kept in a register
    Halbwelle* tabelle;

    Kanal(const LaufZustand& z, int frames, Halbwelle* t) : lauf(z.Lauflaenge), pegel(z.LetzterPegel), tabelle(t) {
        // A buffer without a sign change leaves a run longer than the buffer; it
        // is cut back so that it cannot grow without bound across silent buffers.
        if (lauf > frames) lauf = 20;
    }

    // Branch-free: noise changes sign at random, and a mispredicted branch per
    // sample would cost more than the whole update. The entry at n is written
    // ahead and only counted when the run is stored.
    inline void sample(std::uint8_t s, int sampleFehlerRate) {
        const int level = s & 0x80;
        const int wechsel = level != pegel;
        const int schlucken = wechsel & (lauf <= sampleFehlerRate) & (n > 0);
        tabelle[n].Laenge = static_cast<std::int16_t>(lauf);
        tabelle[n].Pegel = static_cast<std::int16_t>(pegel);
        const int geschluckt = lauf + letzte;
        const int gespeichert = wechsel & !schlucken;
        n += gespeichert - schlucken;
        // After taking an entry back, the one before it is the last stored run.
        letzte = gespeichert ? lauf : schlucken ? (n > 0 ? tabelle[n - 1].Laenge : 0) : letzte;
        lauf = wechsel ? (schlucken ? geschluckt : 1) : lauf + 1;
        pegel = level;
    }

    void ablegen(LaufZustand& z) const {
        z.Lauflaenge = static_cast<std::int16_t>(lauf);
        z.LetzterPegel = static_cast<std::int16_t>(pegel);
    }
};

}  // namespace

int halbwellenanalyse(const std::uint8_t* puffer, int frames, int kanal, LaufZustand& zustand,
                      int sampleFehlerRate, Halbwelle* tabelle) {
    Kanal k(zustand, frames, tabelle);
    for (int i = 0; i < frames; ++i) k.sample(puffer[2 * i + kanal], sampleFehlerRate);
    k.ablegen(zustand);
    return k.n;
}

void halbwellenanalyseStereo(const std::uint8_t* puffer, int frames, std::array<LaufZustand, 2>& zustand,
                             int sampleFehlerRate, Halbwelle* links, Halbwelle* rechts, int& nLinks, int& nRechts) {
    // Both channels in one pass: their two dependency chains overlap.
    Kanal l(zustand[0], frames, links);
    Kanal r(zustand[1], frames, rechts);
    for (int i = 0; i < frames; ++i) {
        l.sample(puffer[2 * i], sampleFehlerRate);
        r.sample(puffer[2 * i + 1], sampleFehlerRate);
    }
    l.ablegen(zustand[0]);
    r.ablegen(zustand[1]);
    nLinks = l.n;
    nRechts = r.n;
}

std::int32_t pegelmessung(const std::uint8_t* puffer, int frames, int kanal) {
    std::int32_t spitze = 0;
    const int anzahl = std::min(frames, 10);
    for (int i = 0; i < anzahl; ++i) {
        spitze = std::max(spitze, static_cast<std::int32_t>(std::abs(puffer[2 * i + kanal] - 128)));
    }
    return spitze;
}

}  // namespace tonwerk
