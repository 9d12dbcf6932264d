// What the additional signals after a five-tone call mean, numbered as
// ZusatzTon of ZVEISenden. The assignments are the ones in wide use for
// siren control; local practice varies, so they stand in this one table.
#pragma once

#include <string>

namespace tonwerk::werkzeug {

// "Weckton", "Feueralarm", ...; empty outside 1..6.
std::string zusatztonBedeutung(int zusatzton);
// The tones as people name them: "2600 Hz", "675/1240 Hz"; empty outside 1..6.
std::string zusatztonFrequenzen(int zusatzton);

}  // namespace tonwerk::werkzeug
