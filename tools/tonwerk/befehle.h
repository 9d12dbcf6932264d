// The tool's subcommands; each registers itself on the application.
#pragma once

#include <CLI/CLI.hpp>

namespace tonwerk::werkzeug {

void decodeBefehl(CLI::App& app);
void demoBefehl(CLI::App& app);
void membersBefehl(CLI::App& app);
void sendeFmsBefehl(CLI::App& app);
void sendeZveiBefehl(CLI::App& app);
void sendeTonrufBefehl(CLI::App& app);
void sendePocsagBefehl(CLI::App& app);
void recordBefehl(CLI::App& app);
void keyBefehl(CLI::App& app);
void devicesBefehl(CLI::App& app);
void listenBefehl(CLI::App& app);

}  // namespace tonwerk::werkzeug
