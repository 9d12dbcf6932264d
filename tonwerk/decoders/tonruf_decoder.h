// Tone-call decoder: Tonruf I (1750 Hz) and Tonruf II (2135 Hz), short or long, in
// the run tables of one channel.
//
// Signal: one steady sine tone. Call numbers by frequency and length in periods
// (lengths do not depend on the sample rate):
//   0  1750 Hz,  525 ..  3500 periods (0.3 .. 2 s)
//   1  1750 Hz, 3501 ..  8750 periods (2 .. 5 s)
//   2  2135 Hz,  640 ..  4270 periods (0.3 .. 2 s)
//   3  2135 Hz, 4271 .. 10674 periods (2 .. 5 s)
//
// Reading: a period is a run at level 128 plus the following run at level 0.
//   idle       a period within TonPeriodeMin..TonPeriodeMax starts measuring.
//   measuring  each period must lie within ZVEIDiffMax of the one before it;
//              after 40 periods their sum picks the frequency window
//              (Tonruf1Min..Max or Tonruf2Min..Max), else back to idle.
//   timing     periods are counted while each stays within ZVEIDiffMax of its
//              predecessor (the tone may drift slowly). The first one that does
//              not ends the tone: its length decides the call, and that period is
//              not tried as a new start. At 10675 periods timing gives up silently.
// The report therefore comes at the end of the tone, once per call.
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

// Call number of a tone of `perioden` periods of the given kind (1 = 1750 Hz,
// 2 = 2135 Hz), or nothing when the length fits no call.
std::optional<Long> TonrufNummer(int art, std::int32_t perioden);

class TonrufDecoder {
public:
    using Melder = std::function<void(TonrufType&)>;
    explicit TonrufDecoder(Melder melden) : melden_(std::move(melden)) {}

    // Processes the runs of one buffer of channel `kanal` (0 = left, 1 = right);
    // other channel numbers are ignored.
    void laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& e, const Ratenkonstanten& k);
    // The channel's input has stopped changing sign: a tone being timed has
    // ended (and is reported if its length makes a call), one being measured is dropped.
    void signalEnde(Integer kanal);

private:
    struct Kanalzustand {
        int zustand = 0;  // 0 idle, 1 measuring the frequency, 2 timing
        std::int32_t periode = 0;
        std::int32_t vorherige = 0;
        std::int32_t anzahl = 0;
        std::int32_t summe = 0;
        int art = 0;  // 1 = 1750 Hz, 2 = 2135 Hz
    };

    void tonEnde(Integer kanal, Kanalzustand& z);
    void periodePruefen(Integer kanal, Kanalzustand& z, std::int32_t p, const Einstellungen& e,
                        const Ratenkonstanten& k);

    Melder melden_;
    std::array<Kanalzustand, 2> kanaele_{};
};

}  // namespace tonwerk
