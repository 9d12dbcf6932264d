// POCSAG transmit audio: the message as a two-level (NRZ) baseband signal,
// 8-bit mono at 11025 samples per second.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"

namespace tonwerk {

// Receives the transmit audio as runs of equal samples.
class PocProbenziel {
public:
    virtual ~PocProbenziel() = default;
    virtual void schreibe(std::uint8_t wert, std::int64_t anzahl) = 0;
};

struct PocSendeauftrag {
    Long Baud = 0;  // 0: 512 bit/s, anything else 1200 bit/s
    Long RIC = 0;
    Long Funktion = 0;
    std::string_view Text;
};

// Samples of a run of n equal bits: n times the bit length (9.1875 samples at
// 1200 bit/s, 21.533 at 512 bit/s) rounded once, half to even.
std::int64_t PocLaufProben(Long baud, std::int64_t bits);

// The whole transmission: 0.6 s of silence, the preamble of
// PocSendPreambellaenge bits, the batches, 100 samples of silence. Reads
// PocSendPreambellaenge, PocAusgangspegel, PocPhaseUmkehren, PocSyncWord and
// PocIdleWord from `einstellungen`.
void PocSendeAudio(const PocSendeauftrag& auftrag, const Einstellungen& einstellungen, PocProbenziel& ziel);

// The same as a sample vector.
std::vector<std::uint8_t> PocSendeProben(const PocSendeauftrag& auftrag, const Einstellungen& einstellungen);

}  // namespace tonwerk
