// A control on a live ALSA sound card, with loop timers and the wall clock, as
// the live commands (listen, record) use it.
#pragma once

#include <string>
#include <vector>

#include "tonwerk/core/bestueckung.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "tonwerk/platform/echtzeit.h"
#include "tonwerk/platform/ohne_hardware.h"

namespace tonwerk::werkzeug {

struct LiveKontrolle : Bestueckung<AlsaEingang, KeineAusgabe, KeinAnschluss, SchleifenZeitgeber, SystemUhr> {

    // Chooses device and rate (11025, 22050 or 44100 Hz, else an error), then
    // applies the NAME=VALUE settings.
    LiveKontrolle(Long geraet, int abtastrate, const std::vector<std::string>& setzen);
};

}  // namespace tonwerk::werkzeug
