#include "befehle.h"
#include "tonwerk/platform/alsa_ausgabe.h"

namespace tonwerk::werkzeug {

std::unique_ptr<SoundAusgabe> tonausgabe() { return std::make_unique<AlsaAusgabe>(); }

}  // namespace tonwerk::werkzeug
