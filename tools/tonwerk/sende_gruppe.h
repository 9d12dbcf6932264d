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
    bool genau = false;               // --genau: GenaueFrequenzen=True
};

// Adds -o, --pcm, --set, --genau, --key, --port and --device to a send subcommand.
void sendeOptionen(CLI::App* cmd, SendeZiel& ziel);

// Runs `senden` on a control with the properties set, keyed when asked; its
// result is reported as an error unless it is 0. Keyed, the line is held by
// GetasteteLeitung and released on every path out.
void sendenMit(const SendeZiel& ziel, const std::function<Long(Funkwandler&)>& senden);

}  // namespace tonwerk::werkzeug
