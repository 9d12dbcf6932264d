// Timers and clock for a host whose event loop is a plain loop: the host asks
// each timer when it is due, sleeps until then and lets it tick.
#pragma once

#include <chrono>
#include <ctime>
#include <functional>
#include <thread>

#include "tonwerk/platform/zeitgeber.h"

namespace tonwerk {

class SchleifenZeitgeber : public Zeitgeber {
public:
    using Uhrzeit = std::chrono::steady_clock::time_point;

    void aktivieren(int intervallMs, std::function<void()> tick) override {
        intervall_ = std::chrono::milliseconds(intervallMs > 0 ? intervallMs : 1);
        tick_ = std::move(tick);
        faellig_ = std::chrono::steady_clock::now() + intervall_;
        aktiv_ = true;
    }
    void deaktivieren() override { aktiv_ = false; }
    bool aktiv() const { return aktiv_; }
    // When the next tick is due; far in the future while disabled.
    Uhrzeit faellig() const { return aktiv_ ? faellig_ : Uhrzeit::max(); }

    // Ticks once if due. A late loop does not tick several times to catch up;
    // like a window timer, the missed ticks are simply lost.
    void pruefen(Uhrzeit jetzt) {
        if (!aktiv_ || jetzt < faellig_) return;
        faellig_ += intervall_;
        if (faellig_ <= jetzt) faellig_ = jetzt + intervall_;
        if (tick_) tick_();
    }

private:
    std::function<void()> tick_;
    std::chrono::milliseconds intervall_{1000};
    Uhrzeit faellig_{};
    bool aktiv_ = false;
};

// The wall clock's second. The control polls it in a loop while it waits for
// the device to settle; a short nap per reading keeps that from burning a core.
class SystemUhr : public Uhr {
public:
    int sekunde() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return static_cast<int>(std::time(nullptr) % 60);
    }
};

}  // namespace tonwerk
