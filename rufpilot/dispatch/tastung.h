// Holds a transmitter line keyed for as long as it lives: whatever way a send
// ends, by return or by exception, it lets go. The line goes back to rest when
// no other send (one nested in this one's waits, or the one this is nested in)
// still holds it.
#pragma once

#include "rufpilot/dispatch/leitungen.h"

namespace rufpilot {

class Tastung {
public:
    Tastung(Leitungen& vermittlung, int port, int leitung)
        : vermittlung_(vermittlung), port_(port), leitung_(leitung) {
        vermittlung_.leitungHalten(port_, leitung_);
    }
    ~Tastung() {
        try {
            vermittlung_.leitungLoslassen(port_, leitung_);
        } catch (...) {
            // A window that fails to redraw an indicator must not end the program.
        }
    }
    Tastung(const Tastung&) = delete;
    Tastung& operator=(const Tastung&) = delete;

private:
    Leitungen& vermittlung_;
    const int port_;
    const int leitung_;
};

}  // namespace rufpilot
