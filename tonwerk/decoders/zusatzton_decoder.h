// Decoder of the additional signals ZVEISenden appends (ZusatzTon 1 to 6), one
// state machine per channel over the block classes of Zusatztonbank.
//
// Unlike the other decoders it reads the buffer's samples, not its runs: a
// two-tone signal has no period to count. It reads them alike with and without
// the reception filter, each channel averaged to 11025 Hz as the filter does.
//
// When it is sure (12-ms blocks; up to 4 blocks of another class inside a
// signal are bridged, for fades and noise):
// - a two-tone signal (2 to 6) after 2.0 s of it (the signal lasts 5 s); no
//   five-tone call, FMS telegram or speech holds two exact tones that long;
// - the wake-up tone (1) at the second of its five bursts (0.8 s of 2600 Hz,
//   0.2 s pause): a first burst of 0.5 to 1.2 s, a pause of 0.1 to 0.45 s and
//   0.5 s of the next, 1.5 s after the signal began; a steady 2600 Hz tone is
//   not the wake-up tone, and a ZVEI repeat tone lasts 70 ms.
// Each signal is reported once; the next can follow after 0.45 s without it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "tonwerk/core/records.h"
#include "tonwerk/empfang/zusatztonbank.h"

namespace tonwerk {

class ZusatztonDecoder {
public:
    using Melder = std::function<void(ZusatztonType&)>;

    explicit ZusatztonDecoder(Melder melden);

    // Processes `frames` interleaved 8-bit stereo frames at `abtastrate` for
    // channel `kanal` (0 or 1).
    void pufferPruefung(Integer kanal, const std::uint8_t* puffer, int frames, Long abtastrate);

    // Blocks of the state machine, in samples at 11025 Hz (for tests).
    static constexpr int kBlock = Zusatztonbank::kBlock;

private:
    struct Kanalzustand {
        Long rate = 0;
        int faktor = 1;
        int rest = 0;  // capture samples in the average in progress
        int summe = 0;
        std::array<float, kBlock> block{};
        int position = 0;

        int klasse = 0;   // class of the signal in progress, 0 for none
        int laenge = 0;   // its blocks
        int fremd = 0;    // blocks of another class since its last one
        int vorige = 0;   // class of the signal before
        int vorigeLaenge = 0;
        int pause = 0;    // blocks since that one ended
        bool gemeldet = false;  // the signal in progress has been reported
    };

    // One sample at 11025 Hz; a full block is classified.
    void ablegen(Integer kanal, Kanalzustand& k, float wert);
    void schritt(Integer kanal, Kanalzustand& k, int klasse);
    void wachsen(Integer kanal, Kanalzustand& k);

    Melder melden_;
    Zusatztonbank bank_;
    std::array<Kanalzustand, 2> kanaele_;
    ZusatztonType meldung_;
};

}  // namespace tonwerk
