// The tool's subcommands; each registers itself on the application.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>

#include "tonwerk/platform/sound_ausgabe.h"

namespace tonwerk::werkzeug {

void decodeBefehl(CLI::App& app);
void membersBefehl(CLI::App& app);
void recordBefehl(CLI::App& app);
void keyBefehl(CLI::App& app);
void devicesBefehl(CLI::App& app);
void listenBefehl(CLI::App& app);

// `send`, created by the first send subcommand that asks for it.
CLI::App& sendeBefehl(CLI::App& app);
void sendFmsBefehl(CLI::App& app);
void sendPocsagBefehl(CLI::App& app);

// The sound output that `send` plays on when no output file is given.
std::unique_ptr<SoundAusgabe> tonausgabe();

}  // namespace tonwerk::werkzeug
