#include "live_kontrolle.h"

#include <stdexcept>

#include "eigenschaften_setzen.h"
#include "tonwerk/formats/abtastrate.h"

namespace tonwerk::werkzeug {

LiveKontrolle::LiveKontrolle(Long geraet, int abtastrate, const std::vector<std::string>& setzen) {
    const std::optional<int> stufe = AbtastrateStufe(abtastrate);
    if (!stufe)
        throw std::runtime_error("Abtastrate " + std::to_string(abtastrate) +
                                 " Hz: nur 11025, 22050 oder 44100 Hz");
    fw.Samplerates(*stufe);
    fw.SoundCard(geraet);
    eigenschaftenSetzen(fw, setzen);
}

}  // namespace tonwerk::werkzeug
