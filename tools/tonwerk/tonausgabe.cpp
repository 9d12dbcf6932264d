#include "befehle.h"
#include "tonwerk/platform/ohne_hardware.h"

namespace tonwerk::werkzeug {

// The library has no playback device of its own yet; playing then fails the way a
// missing device does, and -o remains the way to get the audio.
std::unique_ptr<SoundAusgabe> tonausgabe() { return std::make_unique<KeineAusgabe>(); }

}  // namespace tonwerk::werkzeug
