// tonwerk: decode BOS radio signals from recordings or a sound card, send them,
// and inspect the Funkwandler control.
#include <exception>
#include <iostream>

#include "abbruchsignale.h"
#include "alarm/meldeverlust.h"
#include "bedienfehler.h"
#include "befehle.h"
#include "deutsch.h"
#include "systemfehler.h"

int main(int argc, char** argv) {
    using namespace tonwerk::werkzeug;
    alsaMeldungenAus();
    CLI::App app{"Tonwerk: FMS, ZVEI, POCSAG und Tonrufe decodieren und senden"};
    app.name("tonwerk");
    deutschEinrichten(app, TONWERK_VERSION);
    app.require_subcommand(1);
    demoBefehl(app);
    decodeBefehl(app);
    membersBefehl(app);
    sendeZveiBefehl(app);
    sendeTonrufBefehl(app);
    recordBefehl(app);
    keyBefehl(app);
    devicesBefehl(app);
    listenBefehl(app);
    sendeFmsBefehl(app);
    sendePocsagBefehl(app);
    befehleBenennen(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kBedienfehlerCode;
    } catch (const Bedienfehler& e) {
        std::cerr << "tonwerk: " << e.what() << '\n';
        return kBedienfehlerCode;
    } catch (const Meldeverlust& e) {
        std::cerr << "tonwerk: " << e.what() << '\n';
        return kMeldeverlustCode;
    } catch (const Abgebrochen& a) {
        return 128 + a.signal;
    } catch (const std::exception& e) {
        std::cerr << "tonwerk: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
