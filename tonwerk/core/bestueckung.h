// A control together with the platform pieces it runs on. The pieces are
// members declared before the control, so they are built first and outlive it;
// their types say which pieces: the defaults run without hardware, with
// hand-ticked timers and a clock that moves one second per reading.
#pragma once

#include <utility>

#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_eingang.h"
#include "tonwerk/platform/zeitgeber.h"

namespace tonwerk {

template <class Eingang = SimulierterEingang, class Ausgabe = KeineAusgabe, class Anschluss = KeinAnschluss,
          class Takt = HandZeitgeber, class Zeit = SchrittUhr>
struct Bestueckung {
    Bestueckung() = default;
    // For an input that needs arguments, such as the devices to use.
    template <class... Argumente>
    explicit Bestueckung(std::in_place_t, Argumente&&... fuerEingang) : eingang(std::forward<Argumente>(fuerEingang)...) {}

    Eingang eingang;
    Ausgabe ausgabe;
    Anschluss anschluss;
    Takt timer1, timer2;
    Zeit uhr;
    Funkwandler fw{Plattform{eingang, ausgabe, anschluss, timer1, timer2, uhr}};
};

}  // namespace tonwerk
