// ZVEI decoder: five-tone sequences (5-Tonfolge) in the run tables of one channel.
//
// Signal: five tones of nominally 70 ms back to back, one per character; the tone
// table is in tonwerk/formats/zvei_tontabelle.h, with 2600 Hz as the repeat tone "W"
// that stands for a digit equal to the one before it.
//
// Reading: a period is a run at level 128 plus the following run at level 0; the
// state machine runs once per period P.
//   idle       a P within TonPeriodeMin..TonPeriodeMax starts tone 1 and becomes
//              the tone's reference period.
//   measuring  (state 1..ZVEIFehlerMax) every P is compared with the reference;
//              within ZVEIDiffMax it is summed and counted, otherwise the state
//              counts one more consecutive deviation. After ZVEIPrueflaenge
//              accepted periods the tone is measured (state 10, waiting); a run of
//              deviations beyond ZVEIFehlerMax ends the sequence, and the period
//              after it is consumed without starting a new one.
//   waiting    periods are timed from the start of the tone; once ZVEITonMin
//              samples have passed, the next period starts the next tone (no
//              frequency check), unless more than ZVEITonMax passed (back to idle).
// Checks: after the fifth tone, each tone sum becomes a character by its mean
// period (ZveiZiffer); equal neighbours drop the sequence, a leading "W" becomes
// "F", every other "W" takes the digit before it. "F" (no window matched) is
// reported as it is.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwelle.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/core/records.h"

namespace tonwerk {

// The character of a tone from the sum of its `prueflaenge` periods, measured at
// `abtastrate`: the mean period in tenths of a sample at 11025 Hz, matched against
// fixed windows in a fixed order. "F" when no window matches or the inputs make no
// sense (no periods).
char ZveiZiffer(std::int64_t tonsumme, Long abtastrate, Long prueflaenge);

// Validates and resolves five characters as received: nothing when two neighbours
// are equal; otherwise a leading "W" becomes "F" and each later "W" the digit before it.
std::optional<std::array<char, 5>> ZveiAuswertung(std::array<char, 5> ziffern);

class ZveiDecoder {
public:
    using Melder = std::function<void(ZVEIType&)>;
    explicit ZveiDecoder(Melder melden) : melden_(std::move(melden)) {}

    // Processes the runs of one buffer of channel `kanal` (0 = left, 1 = right);
    // other channel numbers are ignored.
    void laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& e, const Ratenkonstanten& k);
    // The channel's input has stopped changing sign: the tones of a sequence
    // follow each other without a gap, so a sequence in progress is abandoned.
    void signalEnde(Integer kanal);

private:
    struct Kanalzustand {
        // 0 idle; 1..fehlerMax measuring (1 + consecutive deviations);
        // above fehlerMax up to 9 failed; 10 waiting for the next tone.
        int zustand = 0;
        std::int32_t periode = 1;
        std::int32_t dauer = 0;
        std::int32_t referenz = 0;
        int tonIndex = 0;
        std::int32_t anzahl = 0;
        std::array<std::int64_t, 6> tonsumme{};
    };
    struct Grenzen;

    void periodePruefen(Integer kanal, Kanalzustand& z, std::int32_t p, const Grenzen& g);
    void melden(Integer kanal, const Kanalzustand& z, const Grenzen& g);

    Melder melden_;
    std::array<Kanalzustand, 2> kanaele_{};
};

}  // namespace tonwerk
