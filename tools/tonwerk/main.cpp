// tonwerk: decode BOS radio signals from recordings or a sound card, send them,
// and inspect the Funkwandler control.
#include <exception>
#include <iostream>

#include "befehle.h"

int main(int argc, char** argv) {
    CLI::App app{"Tonwerk: FMS, ZVEI, POCSAG und Tonrufe decodieren und senden"};
    app.require_subcommand(1);
    tonwerk::werkzeug::demoBefehl(app);
    tonwerk::werkzeug::decodeBefehl(app);
    tonwerk::werkzeug::membersBefehl(app);
    tonwerk::werkzeug::sendeZveiBefehl(app);
    tonwerk::werkzeug::sendeTonrufBefehl(app);
    tonwerk::werkzeug::recordBefehl(app);
    tonwerk::werkzeug::keyBefehl(app);
    tonwerk::werkzeug::devicesBefehl(app);
    tonwerk::werkzeug::listenBefehl(app);
    tonwerk::werkzeug::sendeFmsBefehl(app);
    tonwerk::werkzeug::sendePocsagBefehl(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "tonwerk: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
