// Keys a transmitter line for as long as it lives: whatever way a send ends,
// by return or by exception, the line goes back to rest.
#pragma once

#include "rufpilot/dispatch/leitungen.h"

namespace rufpilot {

class Tastung {
public:
    Tastung(Leitungen& vermittlung, int port, int leitung)
        : vermittlung_(vermittlung), port_(port), leitung_(leitung) {
        vermittlung_.LeitungEin(port_, leitung_);
    }
    ~Tastung() {
        try {
            vermittlung_.LeitungAus(port_, leitung_);
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
