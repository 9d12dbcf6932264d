// Timers driven by the host's event loop, and the wall clock's second.
#pragma once

#include <functional>

namespace tonwerk {

// A periodic timer of the host; the control never runs a thread of its own.
class Zeitgeber {
public:
    virtual ~Zeitgeber() = default;
    virtual void aktivieren(int intervallMs, std::function<void()> tick) = 0;
    virtual void deaktivieren() = 0;
};

// Second of the current minute (0..59); Soundstop waits on it.
class Uhr {
public:
    virtual ~Uhr() = default;
    virtual int sekunde() = 0;
};

// A timer ticked by hand: tests and the file decoder advance time themselves.
class HandZeitgeber : public Zeitgeber {
public:
    void aktivieren(int intervallMs, std::function<void()> tick) override {
        intervall_ = intervallMs;
        tick_ = std::move(tick);
        aktiv_ = true;
    }
    void deaktivieren() override { aktiv_ = false; }
    bool aktiv() const { return aktiv_; }
    int intervall() const { return intervall_; }
    // Runs one tick if the timer is enabled.
    void tick() {
        if (aktiv_ && tick_) tick_();
    }

private:
    std::function<void()> tick_;
    int intervall_ = 0;
    bool aktiv_ = false;
};

// A clock whose second advances by one at every reading.
class SchrittUhr : public Uhr {
public:
    int sekunde() override { return (sekunde_++) % 60; }
    int lesungen() const { return sekunde_; }

private:
    int sekunde_ = 0;
};

}  // namespace tonwerk
