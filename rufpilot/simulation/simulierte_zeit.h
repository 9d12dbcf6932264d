// An event loop on simulated time, for tests and the demo: sleeping advances
// the clock at once, and letting events run fires every timer that is due.
// Timers re-enter like a window's timers do: a tick that waits (and so lets
// events run) sees further ticks of the same timer inside it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "rufpilot/dispatch/ereignisschleife.h"
#include "tonwerk/platform/zeitgeber.h"

namespace rufpilot {

class SimulierteZeit : public Ereignisschleife {
public:
    class Timer : public tonwerk::Zeitgeber {
    public:
        explicit Timer(const SimulierteZeit& zeit) : zeit_(zeit) {}
        void aktivieren(int intervallMs, std::function<void()> tick) override;
        void deaktivieren() override { aktiv_ = false; }
        bool aktiv() const { return aktiv_; }
        int intervall() const { return intervall_; }

    private:
        friend class SimulierteZeit;
        const SimulierteZeit& zeit_;
        std::function<void()> tick_;
        std::int64_t faellig_ = 0;
        int intervall_ = 1000;
        bool aktiv_ = false;
    };

    // `start` is the wall-clock time at simulated millisecond 0.
    explicit SimulierteZeit(Ortszeit start = {2026, 12, 8, 10, 0, 0, 0}) : start_(start) {}

    // A timer that lives as long as this loop.
    Timer& timer() { return timer_.emplace_back(*this); }
    // Called with the new time whenever the clock moves (a simulated sound
    // card fills its buffers as audio time passes).
    void beimVorruecken(std::function<void(std::int64_t jetztMs)> f) { beobachter_.push_back(std::move(f)); }

    void ereignisseVerarbeiten() override;
    void schlafen(int ms) override { vorruecken(ms); }
    std::int64_t monotonMs() const override { return jetzt_; }
    Ortszeit jetzt() const override;
    bool endeVerlangt() const override { return ende_; }
    // As a stop signal does for the real loop.
    void endeVerlangen() { ende_ = true; }

    // Time passing while the thread is blocked (playback): no timer runs.
    void vorruecken(std::int64_t ms);
    // The idle loop of a host: advance from due timer to due timer, running
    // each, until `ms` have passed.
    void laufen(std::int64_t ms);

private:
    bool ende_ = false;
    Ortszeit start_;
    std::int64_t jetzt_ = 0;
    std::deque<Timer> timer_;
    std::vector<std::function<void(std::int64_t)>> beobachter_;
};

}  // namespace rufpilot
