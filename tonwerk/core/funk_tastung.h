// Transmitter keying: a handshake line of a serial port keys the radio, DTR
// (Leitung 1) or RTS (Leitung 2); high = transmit, low = receive. The port is
// opened by the first FunkSenden with both lines low and stays open, each line
// keeping its own state, until the port number is written.
#pragma once

#include "tonwerk/core/records.h"
#include "tonwerk/platform/serieller_anschluss.h"

namespace tonwerk {

class FunkTastung {
public:
    explicit FunkTastung(SeriellerAnschluss& anschluss) : anschluss_(anschluss) {}
    ~FunkTastung();
    FunkTastung(const FunkTastung&) = delete;
    FunkTastung& operator=(const FunkTastung&) = delete;

    // Raises the line, opening the port first if needed. 0 = done (also for a
    // Leitung other than 1 and 2), 1 = the port or the line cannot be set.
    Long FunkSenden(Long Leitung);
    // Drops the line without opening or closing the port. 0 = done, 1 = error.
    Long FunkEmpfangen(Long Leitung);

    // Port number 1..4 (COM1..COM4). Writing closes an open port, then takes
    // the value if it lies in 1..4.
    Integer FunkAnschluss() const { return port_; }
    void FunkAnschluss(Integer v);

private:
    SeriellerAnschluss& anschluss_;
    Integer port_ = 1;
};

}  // namespace tonwerk
