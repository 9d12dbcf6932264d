// The `send` group: its subcommands build a transmission through a Funkwandler
// and either write it to a WAV file (-o) or play it on an ALSA output, keying
// the transmitter around it on request (--key dtr|rts --port N).
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "tonwerk/core/funkwandler.h"

namespace tonwerk::werkzeug {

// The `send` subcommand, created on first use so that every kind of signal can
// add itself to it.
CLI::App* sendeGruppe(CLI::App& app);

struct SendeZiel {
    std::string datei;                 // -o: write here instead of playing
    std::string pcm = "default";      // --pcm: ALSA output to play on
    std::vector<std::string> setzen;  // --set NAME=VALUE before sending
    std::string taste;                // --key: "dtr" or "rts"; empty = no keying
    int port = 1;                     // --port: COM1..COM4
    std::string geraet;               // --device: the port's device file
    bool klassisch = false;           // --klassisch: GenaueFrequenzen=False (else True)
    bool genau = false;               // --genau: the default, still accepted
    bool roh = false;                 // --roh: values go to the library unchecked
};

// Adds -o, --pcm, --set, --klassisch, --genau, --key, --port, --device and --roh to a send subcommand.
void sendeOptionen(CLI::App* cmd, SendeZiel& ziel);

// Runs `senden` on a control with the properties set, keyed when asked; its
// result is reported as an error unless it is 0. Unless --roh was given,
// `pruefen` sees the control with the properties set before anything is
// written, played or keyed, and refuses values with a Bedienfehler. Keyed, the
// line is held by GetasteteLeitung and released on every path out; Ctrl+C,
// SIGTERM and SIGHUP let the transmission end, release the line and then throw
// Abgebrochen. With -o nothing is keyed.
void sendenMit(const SendeZiel& ziel, const std::function<Long(Funkwandler&)>& senden,
               const std::function<void(const Funkwandler&)>& pruefen = {});

}  // namespace tonwerk::werkzeug
