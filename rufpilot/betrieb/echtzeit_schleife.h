// The gateway's event loop without a window: timers checked against the
// steady clock, real sleeps, the local wall clock. Everything runs on the
// calling thread, as in a window's event loop.
#pragma once

#include <atomic>
#include <deque>

#include "rufpilot/dispatch/ereignisschleife.h"
#include "tonwerk/platform/echtzeit.h"

namespace rufpilot {

class EchtzeitSchleife : public Ereignisschleife {
public:
    // A timer that lives as long as this loop.
    tonwerk::SchleifenZeitgeber& timer() { return timer_.emplace_back(); }

    void ereignisseVerarbeiten() override;
    void schlafen(int ms) override;
    std::int64_t monotonMs() const override;
    Ortszeit jetzt() const override;

    // Sleeps until the next timer is due and runs it, until `ende` is set
    // (checked at least every 100 ms, so a signal handler can set it).
    void laufen(const std::atomic<bool>& ende);
    bool endeVerlangt() const override { return ende_ && ende_->load(); }

private:
    std::deque<tonwerk::SchleifenZeitgeber> timer_;
    const std::atomic<bool>* ende_ = nullptr;  // set by laufen
};

}  // namespace rufpilot
