// The host's event loop as the gateway's waits see it: let pending events run
// (timer ticks, control events, clicks, a nested incoming call), sleep, and
// read the clocks. Tests and the demo run it on simulated time.
#pragma once

#include <cstdint>

namespace rufpilot {

// Local wall-clock time.
struct Ortszeit {
    int jahr = 2000, monat = 1, tag = 1;
    int stunde = 0, minute = 0, sekunde = 0, millisekunde = 0;
};

class Ereignisschleife {
public:
    virtual ~Ereignisschleife() = default;
    // Runs what is pending now, then returns.
    virtual void ereignisseVerarbeiten() = 0;
    virtual void schlafen(int ms) = 0;
    // Milliseconds on a clock that never jumps (midnight, clock changes).
    virtual std::int64_t monotonMs() const = 0;
    virtual Ortszeit jetzt() const = 0;
    // The program is to end (SIGTERM and the like): a running dispatch ends
    // at the next step of its waits.
    virtual bool endeVerlangt() const { return false; }
};

// Thrown out of a wait when the program is to end; no std::exception, so
// only the dispatch's own handler catches it, after the keying guard has
// released the line.
struct Programmende {};

}  // namespace rufpilot
