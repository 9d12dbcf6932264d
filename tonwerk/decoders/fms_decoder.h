// FMS decoder. Reads the runs of equal sign of one channel (one run = one
// half-wave) and reports every FMS telegram that passes its checks.
//
// Signal: FFSK at 1200 bit/s. A one bit is a full cycle of 1200 Hz (two "long"
// half-waves, FmsLangMin..FmsLangMax samples), a zero bit one and a half cycles
// of 1800 Hz (three "short" ones, FmsKurzMin..FmsKurzMax). A telegram opens with
// twelve one bits (Vorlauf) and the sync word 00011010, followed by the 48-bit
// telegram block and possibly text or follow-up blocks (see fms_telegramm.h).
//
// Searching: long half-waves are counted; a short one after more than
// 2*FMSVorlaufMin and fewer than 2*FMSVorlaufMax of them starts a collection
// (with the defaults 15..37 long half-waves). Collecting: every run within
// FmsKurzMin..FmsLangMax is stored; any other run ends the signal, and a
// collection of more than 40 runs is sliced into bits (also when 4000 runs fill
// the list). Slicing: run lengths are summed until the sum exceeds
// FmsBitSchwelle; that bit is a one if it took two runs, else a zero. Checks: at
// least one one bit in positions 8-54, then (with FMScrcCheck) the CRC over
// positions 8-54. A failed CRC gets one more pass that takes the first two runs
// as the rest of a zero bit, for a collection that began one half-wave late.
//
// State is kept per channel across buffers and across stop/start of capture, so
// a telegram may span any number of buffers. The bit array is shared by both
// channels, which are decoded one after the other; each pass clears what the
// previous one wrote, so only bits of the current telegram are ever read.
#pragma once

#include <array>
#include <functional>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwelle.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/core/records.h"

namespace tonwerk {

class FmsDecoder {
public:
    using Melder = std::function<void(FmsTlgType&)>;
    static constexpr int kMaxLaeufe = 4000;

    explicit FmsDecoder(Melder melden) : melden_(std::move(melden)) {}

    // Processes the runs of one buffer of channel `kanal` (0 or 1) in order.
    void laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& e, const Ratenkonstanten& k);
    // The channel's input has stopped changing sign: a collection ends as at a
    // run outside the windows, and a Vorlauf being counted is broken off.
    void signalEnde(Integer kanal, const Einstellungen& e, const Ratenkonstanten& k);

private:
    struct Kanal {
        bool sammeln = false;
        int vorlaufZaehler = 0;
        int laufAnzahl = 0;
        std::array<Integer, kMaxLaeufe + 1> laufliste{};
    };

    void sammlungBeenden(Integer kanal, const Einstellungen& e, const Ratenkonstanten& k);
    void bitDekodierung(Integer kanal, const Einstellungen& e, const Ratenkonstanten& k);
    void durchgang(const Kanal& kanal, int i0, int p0, int schwelle);
    bool plausibel() const;

    std::array<Kanal, 2> kanaele_;
    std::array<Integer, kMaxLaeufe + 1> bits_{};
    int bitZahl_ = 0;
    FmsTlgType tlg_;
    Melder melden_;
};

}  // namespace tonwerk
