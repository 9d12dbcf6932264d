// POCSAG transmitter.
//
// Each bit is a constant level for its length: "0" at 128 + PocAusgangspegel,
// "1" at 128 - PocAusgangspegel (swapped by PocPhaseUmkehren). Bits are written as
// runs of equal bits and each run is rounded to whole samples once, so the
// rounding error never adds up over a run. The preamble 1010...10 is written bit
// by bit; its last zero joins the first bit of the synchronisation codeword.
#include "tonwerk/transmit/poc_senden.h"

#include <algorithm>
#include <cmath>

#include "tonwerk/formats/poc_batch.h"
#include "tonwerk/formats/poc_codewort.h"
#include "tonwerk/formats/poc_einstellwort.h"
#include "tonwerk/formats/poc_text.h"

namespace tonwerk {

namespace {

constexpr std::int64_t kVorlaufStille = 6615;  // 0.6 s
constexpr std::int64_t kNachlaufStille = 100;

// Rounds zaehler / nenner (both non-negative) to the nearest integer, halves to even.
std::int64_t rundeGerade(std::int64_t zaehler, std::int64_t nenner) {
    const std::int64_t q = zaehler / nenner;
    const std::int64_t r2 = 2 * (zaehler % nenner);
    if (r2 > nenner || (r2 == nenner && (q & 1))) return q + 1;
    return q;
}

class NrzSchreiber {
public:
    NrzSchreiber(Long baud, std::uint8_t null, std::uint8_t eins, PocProbenziel& ziel)
        : baud_(baud), null_(null), eins_(eins), ziel_(ziel) {}

    void lauf(std::uint32_t bit, std::int64_t bits) { ziel_.schreibe(bit ? eins_ : null_, PocLaufProben(baud_, bits)); }

    // Collects equal bits and writes each run once it ends.
    void bit(std::uint32_t b) {
        if (b == offenBit_) {
            ++offenLaenge_;
            return;
        }
        lauf(offenBit_, offenLaenge_);
        offenBit_ = b;
        offenLaenge_ = 1;
    }

    void beginne(std::uint32_t b) {
        offenBit_ = b;
        offenLaenge_ = 1;
    }

    void beende() { lauf(offenBit_, offenLaenge_); }

private:
    Long baud_;
    std::uint8_t null_;
    std::uint8_t eins_;
    PocProbenziel& ziel_;
    std::uint32_t offenBit_ = 0;
    std::int64_t offenLaenge_ = 0;
};

class Sammler : public PocProbenziel {
public:
    std::vector<std::uint8_t> proben;
    void schreibe(std::uint8_t wert, std::int64_t anzahl) override {
        proben.insert(proben.end(), static_cast<std::size_t>(std::max<std::int64_t>(anzahl, 0)), wert);
    }
};

}  // namespace

std::int64_t PocLaufProben(Long baud, std::int64_t bits) {
    // 9.1875 = 147 / 16 and 21.533 = 21533 / 1000, kept exact.
    if (baud == 0) return rundeGerade(bits * 21533, 1000);
    return rundeGerade(bits * 147, 16);
}

void PocSendeAudio(const PocSendeauftrag& auftrag, const Einstellungen& einstellungen, PocProbenziel& ziel) {
    const PocCodewort sync = PocWortEinstellung(einstellungen.PocSyncWord, kPocSyncWort);
    const PocCodewort idle = PocWortEinstellung(einstellungen.PocIdleWord, kPocIdleWort);
    const std::vector<PocCodewort> folge =
        PocBatchFolge(auftrag.RIC, PocAdresswort(auftrag.RIC, auftrag.Funktion), PocTextWoerter(auftrag.Text), sync, idle);

    const int pegel = std::clamp<int>(einstellungen.PocAusgangspegel, 0, 127);
    auto null = static_cast<std::uint8_t>(128 + pegel);
    auto eins = static_cast<std::uint8_t>(128 - pegel);
    if (einstellungen.PocPhaseUmkehren != Falsch) std::swap(null, eins);
    NrzSchreiber nrz(auftrag.Baud, null, eins, ziel);

    ziel.schreibe(128, kVorlaufStille);
    const auto paare = static_cast<std::int64_t>(std::nearbyint(einstellungen.PocSendPreambellaenge / 2.0 - 1.0));
    for (std::int64_t i = 0; i < paare; ++i) {
        nrz.lauf(1, 1);
        nrz.lauf(0, 1);
    }
    nrz.lauf(1, 1);
    nrz.beginne(0);
    for (PocCodewort wort : folge) {
        for (int b = 31; b >= 0; --b) nrz.bit((wort >> b) & 1u);
    }
    nrz.beende();
    ziel.schreibe(128, kNachlaufStille);
}

std::vector<std::uint8_t> PocSendeProben(const PocSendeauftrag& auftrag, const Einstellungen& einstellungen) {
    Sammler sammler;
    PocSendeAudio(auftrag, einstellungen, sammler);
    return std::move(sammler.proben);
}

}  // namespace tonwerk
