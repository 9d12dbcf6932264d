#include "live_schleife.h"

#include <chrono>
#include <thread>

#include "abbruchsignale.h"

namespace tonwerk::werkzeug {

bool liveSchleife(SchleifenZeitgeber& timer1, SchleifenZeitgeber& timer2, const std::function<bool()>& fertig) {
    Abbruchsignale signale;
    while (!fertig() && !Abbruchsignale::empfangen()) {
        // Wake at least every 100 ms so that a signal ends the loop promptly.
        const auto grenze = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        std::this_thread::sleep_until(std::min({timer1.faellig(), timer2.faellig(), grenze}));
        const auto jetzt = std::chrono::steady_clock::now();
        timer1.pruefen(jetzt);
        timer2.pruefen(jetzt);
    }
    return Abbruchsignale::empfangen() != 0;
}

}  // namespace tonwerk::werkzeug
