// FMS transmit: a silent lead-in of FMSSendeVorlauf milliseconds (one sample more
// than the rounded length, none for a negative one), then the telegram bits as
// FFSK, written to the transmit file and played. Keying the radio is the host's.
#pragma once

#include <string_view>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"
#include "tonwerk/platform/sound_ausgabe.h"
#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {

// Writes the whole transmission into `g` (started afresh, at Ausgangspegel).
void FmsSendeAudio(Tongenerator& g, const Einstellungen& e, std::string_view kennung, Integer richtung,
                   Integer status, Integer tki, Integer baustufe, std::string_view text);

// Writes and plays the transmission; 0 once played. File errors are thrown as
// std::system_error.
Long FMSSenden(Tongenerator& g, SoundAusgabe& ausgabe, const Einstellungen& e, std::string_view kennung,
               Integer richtung, Integer status, Integer tki, Integer baustufe, std::string_view text);

}  // namespace tonwerk
