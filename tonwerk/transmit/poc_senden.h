// POCSAG transmit: the message as a two-level (NRZ) baseband signal, 8-bit mono
// at 11025 samples per second, written to the transmit file pocaus.wav and played.
// Keying the radio is the host's.
#pragma once

#include <cstdint>
#include <string_view>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"
#include "tonwerk/platform/sound_ausgabe.h"
#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {

struct PocSendeauftrag {
    Long Baud = 0;  // 0: 512 bit/s, anything else 1200 bit/s
    Long RIC = 0;
    Long Funktion = 0;
    std::string_view Text;
};

// Samples of a run of n equal bits: n times the bit length (9.1875 samples at
// 1200 bit/s, 21.533 at 512 bit/s) rounded once, half to even.
std::int64_t PocLaufProben(Long baud, std::int64_t bits);

// Writes the whole transmission into `g` (started afresh): 0.6 s of silence, the
// preamble of PocSendPreambellaenge bits, the batches, 100 samples of silence.
// Reads PocSendPreambellaenge, PocAusgangspegel, PocPhaseUmkehren, PocSyncWord,
// PocIdleWord and GenaueFrequenzen (True: an exact bit clock instead of runs
// rounded one by one). A preamble too long for a WAV file is refused with
// std::overflow_error.
void PocSendeAudio(Tongenerator& g, const Einstellungen& e, const PocSendeauftrag& auftrag);

// Writes and plays the transmission; 0 once played. File errors are thrown as
// std::system_error.
Long POCSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, const PocSendeauftrag& auftrag);

}  // namespace tonwerk
