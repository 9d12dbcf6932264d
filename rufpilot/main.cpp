// rufpilot: turns telephone calls into FMS status telegrams on the radio.
// Without a window for now: every list row is printed; --demo plays a set of
// calls against a simulated telephone line and a simulated control centre.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <optional>

#include "rufpilot/config/datenverzeichnis.h"
#include "rufpilot/demo/vorfuehrung.h"
#include "rufpilot/ui/betrieb.h"

int main(int argc, char** argv) {
    CLI::App app{"Rufpilot: Anrufe als FMS-Status über Funk melden"};
    std::optional<std::string> verzeichnis;
    std::vector<std::string> ports;
    std::string pcm = "default";
    bool demo = false;
    app.add_option("--dir", verzeichnis,
                   "Datenverzeichnis mit server.ini, fms_telefon_leitung.dat und Logs/ "
                   "(Standard $XDG_CONFIG_HOME/rufpilot, sonst ~/.config/rufpilot; --demo: ein neues temporäres)");
    app.add_option("--com", ports,
                   "Gerätedatei eines COM-Ports: N=GERÄT, z. B. 1=/dev/ttyUSB0 (Standard COM1..COM4 = /dev/ttyS0..3; "
                   "wiederholbar)");
    app.add_option("--pcm", pcm, "ALSA-Ausgabe zum Funkgerät")->capture_default_str();
    app.add_flag("--demo", demo,
                 "Vorführung ohne Hardware: simulierte Telefonleitung und Leitstelle auf simulierter Zeit "
                 "(Countdown und Wartezeiten laufen simuliert, die Vorführung dauert Sekunden); Exit 0 nur, "
                 "wenn jeder Anruf wie erwartet verlief");
    try {
        app.parse(argc, argv);
        if (demo) {
            std::optional<std::filesystem::path> pfad;
            if (verzeichnis) pfad = *verzeichnis;
            return rufpilot::vorfuehren(pfad, std::cout);
        }
        rufpilot::Betriebsoptionen optionen;
        optionen.verzeichnis = rufpilot::datenverzeichnis(verzeichnis ? std::optional<std::filesystem::path>(*verzeichnis)
                                                                      : std::nullopt);
        optionen.pcm = pcm;
        for (const std::string& p : ports) {
            const auto gleich = p.find('=');
            int nummer = 0;
            if (gleich != std::string::npos) nummer = std::atoi(p.substr(0, gleich).c_str());
            if (gleich == std::string::npos || nummer < 1 || nummer > 4 || gleich + 1 == p.size())
                throw std::runtime_error("--com " + p + ": erwartet N=GERÄT mit N von 1 bis 4");
            optionen.ports[nummer] = p.substr(gleich + 1);
        }
        return rufpilot::betreiben(optionen);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "rufpilot: " << e.what() << '\n';
        return 1;
    }
}
