#include "live_kontrolle.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <stdexcept>
#include <thread>

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
    if (!::isatty(STDERR_FILENO)) {
        std::cerr << "Beende, bitte warten: die Soundkarte kommt in etwa 4 Sekunden zur Ruhe ...\n";
        fw.Soundstop();
        std::cerr << "Beendet.\n";
        return;
    }
    // On a terminal the seconds count down while Soundstop blocks.
    std::mutex m;
    std::condition_variable cv;
    bool fertig = false;
    std::thread zaehler([&] {
        std::unique_lock<std::mutex> lock(m);
        for (int rest = 4; !fertig; rest = std::max(rest - 1, 1)) {
            std::cerr << "\rBeende, bitte warten: noch etwa " << rest << " s " << std::flush;
            cv.wait_for(lock, std::chrono::seconds(1), [&] { return fertig; });
        }
    });
    fw.Soundstop();
    {
        std::lock_guard<std::mutex> lock(m);
        fertig = true;
    }
    cv.notify_one();
    zaehler.join();
    std::cerr << "\rBeendet.                                  \n";
}

}  // namespace tonwerk::werkzeug
