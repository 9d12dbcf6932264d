// Run-table writer for the reception path: the conditioned signals are never
// turned back into 8-bit samples, they are written as runs of equal sign
// straight into a table of the form the decoders read. As in the capture's
// analysis a run enters the table only when it ends; the run in progress is
// carried into the next buffer. Runs longer than 16 bits hold are capped.
#pragma once

#include <algorithm>
#include <cstdint>

#include "tonwerk/core/halbwelle.h"

namespace tonwerk {

class Laufschreiber {
public:
    // Starts the table of a new buffer; `tabelle` holds at least `platz` entries.
    void beginnen(Halbwelle* tabelle, int platz) {
        tabelle_ = tabelle;
        platz_ = platz;
        anzahl_ = 0;
    }
    // `samples` more samples at the current level.
    void weiter(std::int32_t samples) { lauf_ = std::min<std::int32_t>(lauf_ + samples, kGroesster); }
    // The level changes after the samples written so far: the run ends. A change
    // before any sample of the run would be a run of length 0 and is ignored.
    void wechsel() {
        if (lauf_ == 0) return;
        if (anzahl_ < platz_) tabelle_[anzahl_++] = Halbwelle{static_cast<std::int16_t>(lauf_), pegel_};
        lauf_ = 0;
        pegel_ = static_cast<std::int16_t>(pegel_ ^ 128);
    }
    // One sample at level `hoch` (128) or low (0).
    void probe(bool hoch) {
        if (hoch != (pegel_ != 0)) wechsel();
        weiter(1);
    }
    bool hoch() const { return pegel_ != 0; }
    Laeufe laeufe() const { return Laeufe(tabelle_, static_cast<std::size_t>(anzahl_)); }

private:
    static constexpr std::int32_t kGroesster = 32767;
    Halbwelle* tabelle_ = nullptr;
    int platz_ = 0;
    int anzahl_ = 0;
    std::int32_t lauf_ = 1;
    std::int16_t pegel_ = 0;
};

}  // namespace tonwerk
