// rufpilot: turns telephone calls into FMS status telegrams on the radio.
// On a desktop it opens its window; without a display (or with --ohne-fenster)
// every list row is printed. --demo plays a set of calls against a simulated
// telephone line and a simulated control centre.
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>

#include "rufpilot/config/datenverzeichnis.h"
#include "rufpilot/demo/vorfuehrung.h"
#include "rufpilot/betrieb/betrieb.h"
#include "rufpilot/fenster/fenster_betrieb.h"
#include "deutsch.h"
#include "tonwerk/platform/alsa_meldungen.h"

namespace {

// A window needs a display, or a Qt platform named explicitly.
bool anzeigeVorhanden() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* wert = std::getenv(name);
        if (wert && *wert) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Without a sound card ALSA would print its own lines before anything of
    // ours; the message list says which card did not start.
    tonwerk::alsaMeldungenUmleiten();
    CLI::App app{"Rufpilot: Anrufe als FMS-Status über Funk melden"};
    app.name("rufpilot");
    tonwerk::werkzeug::deutschEinrichten(app, RUFPILOT_VERSION);
    std::optional<std::string> verzeichnis;
    std::vector<std::string> ports;
    std::string pcm = "default";
    bool demo = false;
    bool fenster = false;
    bool ohneFenster = false;
    double tempo = 4.0;
    std::optional<std::string> bilder;
    std::string quelle = "capi";
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
    app.add_flag("--window", fenster,
                 "mit --demo: das Fenster zeigt die Anrufe; die simulierte Zeit läuft --tempo-mal so schnell wie die "
                 "Uhr, das Fenster bleibt nach den Anrufen offen, die Tabelle folgt nach dem Schließen");
    app.add_option("--tempo", tempo, "mit --demo --window: Faktor der simulierten Zeit gegenüber der Uhr")
        ->capture_default_str()
        ->check(CLI::Range(0.1, 1000.0));
    app.add_flag("--ohne-fenster", ohneFenster,
                 "ohne Fenster: jede Listenzeile wird ausgegeben (so auch, wenn weder DISPLAY, WAYLAND_DISPLAY noch "
                 "QT_QPA_PLATFORM gesetzt ist)");
    app.add_option("--quelle", quelle,
                   "mit --demo: woher die Anrufe kommen: capi (simulierte ISDN-Leitung), anrufmonitor (RING-Zeilen "
                   "eines Anrufmonitors auf 127.0.0.1) oder sip (INVITEs eines SIP-Routers auf 127.0.0.1)")
        ->capture_default_str()
        ->check(CLI::IsMember({"capi", "anrufmonitor", "sip"}));
    app.add_option("--screenshots", bilder,
                   "speichert Form1.png, Form2.png und Form3.png (ohne Bildschirm, nach dem ersten Anruf der "
                   "Vorführung) in VERZEICHNIS");    try {
        app.parse(argc, argv);
        if (bilder) return rufpilot::bildschirmfotosSpeichern(*bilder, argc, argv);
        if (fenster && !demo) throw std::runtime_error("--window gehört zu --demo");
        if (quelle != "capi" && !demo)
            throw std::runtime_error("--quelle gehört zu --demo; im Betrieb wählt der Einstellungsdialog die Anrufquelle");
        if (demo) {
            std::optional<std::filesystem::path> pfad;
            if (verzeichnis) pfad = *verzeichnis;
            rufpilot::Vorfuehrungshaken haken;
            if (quelle == "anrufmonitor") haken.quelle = rufpilot::Quellenart::Anrufmonitor;
            if (quelle == "sip") haken.quelle = rufpilot::Quellenart::Sip;
            if (fenster) return rufpilot::fensterVorfuehren(pfad, std::cout, tempo, argc, argv, haken.quelle);
            return rufpilot::vorfuehren(pfad, std::cout, haken);
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
        if (ohneFenster || !anzeigeVorhanden()) return rufpilot::betreiben(optionen);
        return rufpilot::fensterBetreiben(optionen, argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "rufpilot: " << e.what() << '\n';
        return 1;
    }
}
