// The `send` group: its subcommands build a transmission through a Funkwandler
// and either write it to a WAV file (-o) or play it on an ALSA output. Keying the
// transmitter is left to `tonwerk key`.
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
};

// Adds -o, --pcm and --set to a send subcommand.
void sendeOptionen(CLI::App* cmd, SendeZiel& ziel);

// Runs `senden` on a control with the properties set; its result is reported as
// an error unless it is 0.
void sendenMit(const SendeZiel& ziel, const std::function<Long(Funkwandler&)>& senden);

}  // namespace tonwerk::werkzeug
