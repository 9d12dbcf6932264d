#include "live_kontrolle.h"

#include <iostream>
#include <stdexcept>

#include "eigenschaften_setzen.h"
#include "systemfehler.h"
#include "tonwerk/formats/abtastrate.h"

namespace tonwerk::werkzeug {

LiveKontrolle::LiveKontrolle(Long geraet, int abtastrate, const std::vector<std::string>& setzen) {
    const std::optional<int> stufe = AbtastrateStufe(abtastrate);
    if (!stufe)
        throw std::runtime_error("--rate " + std::to_string(abtastrate) +
                                 ": erlaubt sind 11025, 22050 oder 44100 (Hz)");
    fw.Samplerates(*stufe);
    fw.SoundCard(geraet);
    eigenschaftenSetzen(fw, setzen);
}

std::string startFehler(Long karte, const std::string& pcm, Long ergebnis) {
    // The ALSA layer reports negative system error numbers.
    const std::string grund = ergebnis < 0 ? systemFehlerText(static_cast<int>(ergebnis))
                                           : "Fehler " + std::to_string(ergebnis);
    return "Soundkarte " + std::to_string(karte) + (pcm.empty() ? "" : " (" + pcm + ")") + " startet nicht: " + grund;
}

void anhaltenMitHinweis(Funkwandler& fw) {
    std::cerr << "Beende, bitte warten: die Soundkarte kommt in etwa 4 Sekunden zur Ruhe ...\n";
    fw.Soundstop();
    std::cerr << "Beendet.\n";
}

}  // namespace tonwerk::werkzeug
