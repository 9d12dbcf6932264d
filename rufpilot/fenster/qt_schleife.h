// The gateway's waits on the window's event loop: pending Qt events (timer
// ticks, control events, clicks) run, sleeps are real, clocks are the steady
// clock and local time.
#pragma once

#include "rufpilot/dispatch/ereignisschleife.h"

namespace rufpilot {

class QtSchleife : public Ereignisschleife {
public:
    void ereignisseVerarbeiten() override;
    void schlafen(int ms) override;
    std::int64_t monotonMs() const override;
    Ortszeit jetzt() const override;
    // A stop by signal: a running dispatch ends at the next step of its
    // waits, as headless. Set on the window's thread (Signalwache).
    void endeVerlangen() { ende_ = true; }
    bool endeVerlangt() const override { return ende_; }

private:
    bool ende_ = false;
};

}  // namespace rufpilot
