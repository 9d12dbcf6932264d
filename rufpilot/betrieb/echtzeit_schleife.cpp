#include "rufpilot/betrieb/echtzeit_schleife.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

namespace rufpilot {

void EchtzeitSchleife::ereignisseVerarbeiten() {
    const auto jetzt = std::chrono::steady_clock::now();
    for (tonwerk::SchleifenZeitgeber& t : timer_) t.pruefen(jetzt);
}

void EchtzeitSchleife::schlafen(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0))); }

std::int64_t EchtzeitSchleife::monotonMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Ortszeit EchtzeitSchleife::jetzt() const {
    using namespace std::chrono;
    const auto t = system_clock::now();
    const std::time_t sekunden = system_clock::to_time_t(t);
    std::tm ort{};
    localtime_r(&sekunden, &ort);
    const auto ms = duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000;
    return Ortszeit{ort.tm_year + 1900, ort.tm_mon + 1, ort.tm_mday, ort.tm_hour, ort.tm_min, ort.tm_sec,
                    static_cast<int>(ms)};
}

void EchtzeitSchleife::laufen(const std::atomic<bool>& ende) {
    ende_ = &ende;
    using namespace std::chrono;
    while (!ende.load()) {
        auto naechster = steady_clock::now() + milliseconds(100);
        for (const tonwerk::SchleifenZeitgeber& t : timer_) naechster = std::min(naechster, t.faellig());
        std::this_thread::sleep_until(naechster);
        ereignisseVerarbeiten();
    }
}

}  // namespace rufpilot
