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
};

}  // namespace rufpilot
