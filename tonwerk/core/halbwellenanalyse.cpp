#include "tonwerk/core/halbwellenanalyse.h"

#include <algorithm>
#include <cstdlib>

namespace tonwerk {

int halbwellenanalyse(const std::uint8_t* puffer, int frames, int kanal, LaufZustand& zustand,
                      int sampleFehlerRate, Halbwelle* tabelle) {
    // A buffer without a sign change leaves a run longer than the buffer; it is cut
    // back so that it cannot grow without bound across silent buffers.
    int lauf = zustand.Lauflaenge > frames ? 20 : zustand.Lauflaenge;
    int pegel = zustand.LetzterPegel;
    int n = 0;
    const std::uint8_t* p = puffer + kanal;
    for (int i = 0; i < frames; ++i, p += 2) {
        const int level = *p & 0x80;
        if (level == pegel) {
            ++lauf;
            continue;
        }
        if (lauf <= sampleFehlerRate && n > 0) {
            // A glitch: the stored run is taken back and the short one added to it.
            --n;
            lauf += tabelle[n].Laenge;
        } else {
            tabelle[n].Laenge = static_cast<std::int16_t>(lauf);
            tabelle[n].Pegel = static_cast<std::int16_t>(pegel);
            ++n;
            lauf = 1;
        }
        pegel = level;
    }
    zustand.Lauflaenge = static_cast<std::int16_t>(lauf);
    zustand.LetzterPegel = static_cast<std::int16_t>(pegel);
    return n;
}

void halbwellenanalyseStereo(const std::uint8_t* puffer, int frames, std::array<LaufZustand, 2>& zustand,
                             int sampleFehlerRate, Halbwelle* links, Halbwelle* rechts, int& nLinks, int& nRechts) {
    nLinks = halbwellenanalyse(puffer, frames, 0, zustand[0], sampleFehlerRate, links);
    nRechts = halbwellenanalyse(puffer, frames, 1, zustand[1], sampleFehlerRate, rechts);
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
