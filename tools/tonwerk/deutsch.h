// CLI11 in German: labels of the help text, the help and version flags, and its
// error texts, so that a program speaks one language from usage line to error.
// Shared by the tool and rufpilot (target tonwerk_cli_deutsch).
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

// Before any subcommand is added (they inherit the help flag and formatter);
// after the app has its name, which the version line and errors carry.
void deutschEinrichten(CLI::App& app, const std::string& version);
// After all subcommands are added: their group heading.
void befehleBenennen(CLI::App& app);

// One German line for a parse error, naming the option as typed.
std::string deutscheMeldung(const CLI::Error& fehler);

// Validators with German texts.
CLI::Validator eineVon(const std::vector<std::string>& werte);
CLI::Validator zahlVon(long long von, long long bis);

}  // namespace tonwerk::werkzeug
