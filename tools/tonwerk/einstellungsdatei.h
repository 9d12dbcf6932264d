// Settings files for decode and listen (--config FILE), so a service definition
// stays one line and secrets stay off the command line. The format is the
// common ground of INI and TOML: `schluessel = wert` per line, the key a long
// option's name without the dashes (`card`, `mqtt-benutzer`; `_` for `-` too),
// values as "text", 'text', bare words, numbers, true/false, or [lists] (also
// over several lines) for repeatable options; comments start with # or ;.
// Keys at the top level apply to the subcommand on the command line, keys in
// a section [decode] or [listen] only to that one. Options given on the
// command line (or from their environment variable) win over the file.
#pragma once

#include <CLI/CLI.hpp>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

struct Einstellung {
    std::string schluessel;  // option name without dashes, '_' read as '-'
    std::vector<std::string> werte;
    bool liste = false;
    int zeile = 0;
};

// The settings for subcommand `befehl`. Throws Bedienfehler naming `quelle`
// and the line of a malformed or repeated entry or an unknown section.
std::vector<Einstellung> einstellungenLesen(std::istream& ein, const std::string& quelle, const std::string& befehl);

// Adds --config FILE to `cmd`.
void einstellungsdateiAnmelden(CLI::App* cmd, std::string& pfad);
// Reads the file (when `pfad` is not empty) and gives each of its settings to
// the option of `cmd` not given otherwise, with the option's own checks. An
// unknown key or a bad value is a Bedienfehler naming file and line; the
// values of secret options (passwords, tokens) never appear in a message.
// Says on `hinweise` when a secret came from the command line, where every
// user of the machine can read it.
void einstellungenAnwenden(CLI::App* cmd, const std::string& pfad, std::ostream& hinweise);

// Options whose values are secret: their name holds "passwort", "token" or
// "geheim".
bool istGeheim(const std::string& optionsname);

}  // namespace tonwerk::werkzeug
