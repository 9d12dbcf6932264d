// ZVEI transmission: a five-tone sequence, optionally sent twice, optionally
// followed by an additional signal (ZusatzTon), framed by pauses. 8-bit mono at
// 11025 Hz, level Ausgangspegel.
//
// Layout in samples: 6615 silence; the sequence (five tones of whole cycles, about
// 70 ms each, from phase 0, then the six samples 126 130 126 130 126 130); with
// DoppeltSenden 6615 silence and the sequence again; with ZusatzTon >= 1 another
// 6615 silence and the signal; finally 772 silence. Signals:
//   1     five times 8820 samples of 2600 Hz (each from phase 0) and 2205 silence
//   2..6  55125 samples of two tones: 675 Hz with 1240, 1860, 825, 2280 or 1010 Hz
//   other no signal (the pause before it is still sent for 7 and above)
#pragma once

#include <string_view>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"
#include "tonwerk/platform/sound_ausgabe.h"
#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {

// Writes the whole transmission into `g` (started afresh, at Ausgangspegel).
// Characters of `rufnummer` beyond the fifth are ignored; any non-zero
// `doppeltSenden` sends the sequence twice.
void ZveiSendeAudio(Tongenerator& g, const Einstellungen& e, std::string_view rufnummer, Boolean doppeltSenden,
                    Long zusatzTon);

// Writes and plays the transmission; 0 once played. File errors are thrown as
// std::system_error.
Long ZVEISenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, std::string_view rufnummer,
                Boolean doppeltSenden, Long zusatzTon);

}  // namespace tonwerk
