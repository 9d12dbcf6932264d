// A control on a live ALSA sound card, with loop timers and the wall clock, as
// the live commands (listen, record) use it.
#pragma once

#include <string>
#include <vector>

#include "abzweig_eingang.h"
#include "tonwerk/core/bestueckung.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "tonwerk/platform/echtzeit.h"
#include "tonwerk/platform/ohne_hardware.h"

namespace tonwerk::werkzeug {

struct LiveKontrolle : Bestueckung<AbzweigEingang, KeineAusgabe, KeinAnschluss, SchleifenZeitgeber, SystemUhr> {

    // Chooses device and rate (11025, 22050 or 44100 Hz, else an error), then
    // applies the NAME=VALUE settings.
    LiveKontrolle(Long geraet, int abtastrate, const std::vector<std::string>& setzen);
};

// Capture rates of a device's format mask in words.
std::string formateInWorten(std::int32_t maske);

// Why sound card `karte` did not start, from SoundStart's result.
std::string startFehler(Long karte, const std::string& pcm, Long ergebnis);

// Soundstop waits for the device to settle (three to four seconds); says so
// first, on a terminal as a countdown, so that nobody presses Ctrl+C twice.
void anhaltenMitHinweis(Funkwandler& fw);

}  // namespace tonwerk::werkzeug
