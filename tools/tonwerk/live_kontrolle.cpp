#include "live_kontrolle.h"

#include <stdexcept>

#include "eigenschaften_setzen.h"

namespace tonwerk::werkzeug {

LiveKontrolle::LiveKontrolle(Long geraet, int abtastrate, const std::vector<std::string>& setzen) {
    if (abtastrate != 11025 && abtastrate != 22050 && abtastrate != 44100)
        throw std::runtime_error("Abtastrate " + std::to_string(abtastrate) +
                                 " Hz: nur 11025, 22050 oder 44100 Hz");
    fw.Samplerates(abtastrate == 22050 ? 1 : abtastrate == 44100 ? 2 : 0);
    fw.SoundCard(geraet);
    eigenschaftenSetzen(fw, setzen);
}

}  // namespace tonwerk::werkzeug
