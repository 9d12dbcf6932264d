// POCSAG transmitter.
//
// Each bit is a constant level for its length: "0" at 128 + PocAusgangspegel,
// "1" at 128 - PocAusgangspegel (swapped by PocPhaseUmkehren). Bits are written as
// runs of equal bits and each run is rounded to whole samples once, so the
// rounding error never adds up over a run. The preamble 1010...10 is written bit
// by bit; its last zero joins the first bit of the synchronisation codeword.
//
// Rounding each run on its own still lets the errors of successive runs add up:
// with 9 samples for a 9.1875-sample bit the preamble goes out at 1225 bit/s,
// and 21.533 for 21.533203 makes 512 bit/s slightly fast. A receiver with a true
// bit clock loses a long message to that. With GenaueFrequenzen the bit clock is
// exact instead: every run ends on the sample nearest to its end bit's true
// place, k * 11025 / baud from the start of the preamble, so the fraction is
// carried from run to run and no error ever exceeds half a sample.
#include "tonwerk/transmit/poc_senden.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "tonwerk/formats/poc_batch.h"
#include "tonwerk/formats/poc_codewort.h"
#include "tonwerk/formats/poc_einstellwort.h"
#include "tonwerk/formats/poc_text.h"
#include "tonwerk/transmit/sendedatei.h"

namespace tonwerk {

namespace {

constexpr Long kVorlaufStille = 6615;  // 0.6 s
constexpr Long kNachlaufStille = 100;

// Rounds zaehler / nenner (both non-negative) to the nearest integer, halves to even.
std::int64_t rundeGerade(std::int64_t zaehler, std::int64_t nenner) {
    const std::int64_t q = zaehler / nenner;
    const std::int64_t r2 = 2 * (zaehler % nenner);
    if (r2 > nenner || (r2 == nenner && (q & 1))) return q + 1;
    return q;
}

// Sample at which bit `bits` starts (counted from the first preamble bit) with an
// exact bit clock: bits * 11025 / baud, rounded half to even.
std::int64_t genauerBitAnfang(Long baud, std::int64_t bits) {
    return rundeGerade(bits * 11025, baud == 0 ? 512 : 1200);
}

class NrzSchreiber {
public:
    NrzSchreiber(Long baud, bool genau, std::uint8_t null, std::uint8_t eins, Tongenerator& g)
        : baud_(baud), genau_(genau), null_(null), eins_(eins), g_(g) {}

    void lauf(std::uint32_t bit, std::int64_t bits) {
        std::int64_t proben = PocLaufProben(baud_, bits);
        if (genau_) {
            proben = genauerBitAnfang(baud_, geschrieben_ + bits) - genauerBitAnfang(baud_, geschrieben_);
            geschrieben_ += bits;
        }
        g_.SchreibeProben(static_cast<Long>(proben), bit ? eins_ : null_);
    }

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
    bool genau_;
    std::int64_t geschrieben_ = 0;  // bits written, for the exact clock
    std::uint8_t null_;
    std::uint8_t eins_;
    Tongenerator& g_;
    std::uint32_t offenBit_ = 0;
    std::int64_t offenLaenge_ = 0;
};

}  // namespace

std::int64_t PocLaufProben(Long baud, std::int64_t bits) {
    // 9.1875 = 147 / 16 and 21.533 = 21533 / 1000, kept exact.
    if (baud == 0) return rundeGerade(bits * 21533, 1000);
    return rundeGerade(bits * 147, 16);
}

void PocSendeAudio(Tongenerator& g, const Einstellungen& e, const PocSendeauftrag& auftrag) {
    const PocCodewort sync = PocWortEinstellung(e.PocSyncWord, kPocSyncWort);
    const PocCodewort idle = PocWortEinstellung(e.PocIdleWord, kPocIdleWort);
    const std::vector<PocCodewort> folge =
        PocBatchFolge(auftrag.RIC, PocAdresswort(auftrag.RIC, auftrag.Funktion), PocTextWoerter(auftrag.Text), sync, idle);

    const auto paare = static_cast<std::int64_t>(std::nearbyint(static_cast<double>(e.PocSendPreambellaenge) / 2.0 - 1.0));
    // The sample count of a WAV file is 32 bits; a longer preamble is refused, not wrapped.
    const bool genau = e.GenaueFrequenzen != Falsch;
    const std::int64_t praambelBits = std::max<std::int64_t>(paare, 0) * 2;
    const std::int64_t praambelProben = genau ? genauerBitAnfang(auftrag.Baud, praambelBits)
                                              : praambelBits * PocLaufProben(auftrag.Baud, 1);
    // The codeword bits with at most one sample of rounding per run.
    const std::int64_t wortBits = 1 + 32 * static_cast<std::int64_t>(folge.size());
    const std::int64_t restProben =
        kVorlaufStille + kNachlaufStille + PocLaufProben(auftrag.Baud, wortBits + 1) + wortBits;
    if (praambelProben > std::numeric_limits<Long>::max() - restProben) {
        throw std::overflow_error("PocSendPreambellaenge zu groß");
    }

    const int pegel = std::clamp<int>(e.PocAusgangspegel, 0, 127);
    auto null = static_cast<std::uint8_t>(128 + pegel);
    auto eins = static_cast<std::uint8_t>(128 - pegel);
    if (e.PocPhaseUmkehren != Falsch) std::swap(null, eins);

    g.neu();
    NrzSchreiber nrz(auftrag.Baud, genau, null, eins, g);
    g.SchreibeStille(kVorlaufStille);
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
    g.SchreibeStille(kNachlaufStille);
}

Long POCSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, const PocSendeauftrag& auftrag) {
    PocSendeAudio(g, e, auftrag);
    SendedateiSenden(e, kPocSendedatei, g.Proben(), ausgabe);
    return 0;
}

}  // namespace tonwerk
