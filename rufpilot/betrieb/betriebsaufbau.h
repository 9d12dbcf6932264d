// The pieces of a real run, wired once for both front ends: ALSA capture and
// playback, the serial keying port, the call source rufquelle.ini names, the
// control, the application, and the timer that pumps a source with a stack
// of its own. Each front end brings its event loop, its timers and what it
// draws (the text lists or the window).
#pragma once

#include <memory>

#include "rufpilot/dispatch/anwendung.h"
#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/oberflaeche.h"
#include "rufpilot/betrieb/betrieb.h"
#include "rufpilot/betrieb/maschinensperre.h"
#include "rufpilot/betrieb/quellenstart.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/alsa_ausgabe.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "tonwerk/platform/echtzeit.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/termios_anschluss.h"
#include "tonwerk/platform/zeitgeber.h"

namespace rufpilot {

// The front end's timers: the control's two, the application's one-second
// timer and the source's pump.
struct Zeitgeberbelegung {
    tonwerk::Zeitgeber& funkwandler1;
    tonwerk::Zeitgeber& funkwandler2;
    tonwerk::Zeitgeber& anwendung;
    tonwerk::Zeitgeber& pumpe;
};

// The machine-wide locks on what a run with these options would use (sound
// card, sound output, keying port, call source); taken before anything opens.
std::unique_ptr<Maschinensperre> maschineSperren(const Betriebsoptionen& optionen);

class Betriebsaufbau {
public:
    Betriebsaufbau(const Betriebsoptionen& optionen, Ereignisschleife& schleife, Zeitgeberbelegung zeitgeber,
                   Oberflaeche& oberflaeche);
    Betriebsaufbau(const Betriebsaufbau&) = delete;
    Betriebsaufbau& operator=(const Betriebsaufbau&) = delete;

    Anwendung& anwendung() { return anwendung_; }
    // The notes on rufquelle.ini, the start-up, then the pump timer (every
    // 20 ms: SIP retransmissions and replies cannot wait for the one-second
    // tick, and a call is taken in and answered as soon as it arrives).
    void starten();

private:
    tonwerk::AlsaEingang eingang_;
    tonwerk::AlsaAusgabe ausgabe_;
    tonwerk::KeinAnschluss steuerungsAnschluss_;  // the control's own keying stays unused
    tonwerk::SystemUhr uhr_;
    tonwerk::Funkwandler fw_;
    tonwerk::TermiosAnschluss anschluss_;
    Quellenstart quelle_;
    Anwendung anwendung_;
    tonwerk::Zeitgeber& pumpe_;
};

}  // namespace rufpilot
