// Tone-call transmission: 6615 samples of silence, one sine tone from phase 0,
// 772 samples of silence; 8-bit mono at 11025 Hz, level Ausgangspegel.
//   0  1750 Hz, 11025 samples (Tonruf I kurz)
//   1  1750 Hz, 44100 samples (Tonruf I lang)
//   2  2135 Hz, 11025 samples (Tonruf II kurz)
//   3  2135 Hz, 44100 samples (Tonruf II lang)
//   any other value: 1000 Hz, 11025 samples
#pragma once

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"
#include "tonwerk/platform/sound_ausgabe.h"
#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {

// Writes the whole transmission into `g` (started afresh, at Ausgangspegel).
void TonrufSendeAudio(Tongenerator& g, const Einstellungen& e, Long tonruf);

// Writes and plays the transmission; 0 once played. File errors are thrown as
// std::system_error.
Long TonrufSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, Long tonruf);

}  // namespace tonwerk
