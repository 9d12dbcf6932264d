// tonwerk send KIND ...: the parent of the send subcommands, shared by all kinds.
#include "befehle.h"

namespace tonwerk::werkzeug {

CLI::App& sendeBefehl(CLI::App& app) {
    try {
        return *app.get_subcommand("send");
    } catch (const CLI::OptionNotFound&) {
        CLI::App* send = app.add_subcommand("send", "Ein Signal als WAV-Datei schreiben oder abspielen");
        send->require_subcommand(1);
        return *send;
    }
}

}  // namespace tonwerk::werkzeug
