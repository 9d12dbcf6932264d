// The tool's subcommands; each registers itself on the application.
#pragma once

#include <CLI/CLI.hpp>

namespace tonwerk::werkzeug {

void decodeBefehl(CLI::App& app);
void membersBefehl(CLI::App& app);

}  // namespace tonwerk::werkzeug
