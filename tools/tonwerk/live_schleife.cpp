#include "live_schleife.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

namespace tonwerk::werkzeug {

namespace {
std::atomic<bool> abgebrochen{false};
extern "C" void abbrechen(int) { abgebrochen = true; }
}  // namespace

bool liveSchleife(SchleifenZeitgeber& timer1, SchleifenZeitgeber& timer2, const std::function<bool()>& fertig) {
    abgebrochen = false;
    auto alterInt = std::signal(SIGINT, abbrechen);
    auto alterTerm = std::signal(SIGTERM, abbrechen);
    while (!fertig() && !abgebrochen) {
        // Wake at least every 100 ms so that a signal ends the loop promptly.
        const auto grenze = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        std::this_thread::sleep_until(std::min({timer1.faellig(), timer2.faellig(), grenze}));
        const auto jetzt = std::chrono::steady_clock::now();
        timer1.pruefen(jetzt);
        timer2.pruefen(jetzt);
    }
    std::signal(SIGINT, alterInt);
    std::signal(SIGTERM, alterTerm);
    return abgebrochen;
}

}  // namespace tonwerk::werkzeug
