#include "tonwerk/core/funk_tastung.h"

namespace tonwerk {

FunkTastung::~FunkTastung() {
    try {
        if (anschluss_.offen()) anschluss_.schliessen();
    } catch (...) {
    }
}

// A port layer may report failure by result or by exception; both become 1.
Long FunkTastung::FunkSenden(Long Leitung) {
    try {
        if (!anschluss_.offen()) {
            if (!anschluss_.oeffnen(port_)) return 1;
            if (!anschluss_.setzeDtr(false) || !anschluss_.setzeRts(false)) return 1;
        }
        if (Leitung == 1 && !anschluss_.setzeDtr(true)) return 1;
        if (Leitung == 2 && !anschluss_.setzeRts(true)) return 1;
        return 0;
    } catch (...) {
        return 1;
    }
}

Long FunkTastung::FunkEmpfangen(Long Leitung) {
    try {
        if (Leitung == 1 && !anschluss_.setzeDtr(false)) return 1;
        if (Leitung == 2 && !anschluss_.setzeRts(false)) return 1;
        return 0;
    } catch (...) {
        return 1;
    }
}

void FunkTastung::FunkAnschluss(Integer v) {
    // A property write never fails; a port that will not close cleanly is left
    // to the port layer.
    try {
        if (anschluss_.offen()) {
            anschluss_.schliessen();
            anschluss_.setzeDtr(false);
            anschluss_.setzeRts(false);
        }
    } catch (...) {
    }
    if (v >= 1 && v <= 4) port_ = v;
}

}  // namespace tonwerk
