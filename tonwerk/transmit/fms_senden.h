// FMS transmit: a silent lead-in of FMSSendeVorlauf milliseconds (one sample more
// than the rounded length, none for a negative one), then the telegram bits as
// FFSK, written to the transmit file and played. Keying the radio is the host's.
#pragma once

#include <cstdint>
#include <string_view>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"
#include "tonwerk/platform/sound_ausgabe.h"
#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {

// Samples of the silent lead-in of FMSSendeVorlauf `ms`: ms * 11.025 rounded
// half to even, plus one; none for a negative value.
std::int64_t FmsVorlaufProben(Long ms);

// Writes the whole transmission into `g` (started afresh, at Ausgangspegel),
// the lead-in held in memory like the telegram. A transmission whose sample
// count does not fit a WAV file is refused with std::overflow_error, as in FMSSenden.
void FmsSendeAudio(Tongenerator& g, const Einstellungen& e, std::string_view kennung, Integer richtung,
                   Integer status, Integer tki, Integer baustufe, std::string_view text);

// Writes and plays the transmission; 0 once played. Only the telegram is built
// in `g`; the lead-in goes to the file a second at a time. A lead-in that does
// not fit a WAV file with the telegram is refused with std::overflow_error
// ("FMSSendeVorlauf zu groß") before the file is touched. File errors are thrown
// as std::system_error.
Long FMSSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, std::string_view kennung,
               Integer richtung, Integer status, Integer tki, Integer baustufe, std::string_view text);

}  // namespace tonwerk
