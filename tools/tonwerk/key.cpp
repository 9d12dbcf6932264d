// tonwerk key --port N --key dtr|rts on|off: keys a transmitter through the
// control's keying methods. A line stays high only while the port is open, so
// "on" holds it until interrupted (or --for seconds), then releases it.
#include <chrono>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "abbruchsignale.h"
#include "bedienfehler.h"
#include "befehle.h"
#include "deutsch.h"
#include "live_schleife.h"
#include "systemfehler.h"
#include "tonwerk/core/bestueckung.h"
#include "tonwerk/core/getastete_leitung.h"
#include "tonwerk/platform/echtzeit.h"
#include "tonwerk/platform/termios_anschluss.h"

namespace tonwerk::werkzeug {

namespace {

struct KeyOptionen {
    int port = 1;
    std::string leitung;
    std::string zustand;
    std::string geraet;
    double dauer = -1;
};

void tasten(const KeyOptionen& o) {
    if (o.leitung.empty()) throw Bedienfehler("--key fehlt: dtr oder rts");
    // Held from the first switch to the release, so that no signal ends the
    // process with the line still keyed.
    Abbruchsignale signale;
    // The port opens when the line is first switched, after its device is set.
    Bestueckung<SimulierterEingang, KeineAusgabe, TermiosAnschluss, HandZeitgeber, SystemUhr> plattform;
    TermiosAnschluss& anschluss = plattform.anschluss;
    if (!o.geraet.empty()) anschluss.geraetSetzen(o.port, o.geraet);
    Funkwandler& fw = plattform.fw;
    fw.FunkAnschluss(static_cast<Integer>(o.port));

    const Long leitung = o.leitung == "dtr" ? 1 : 2;
    const std::string name = o.leitung == "dtr" ? "DTR" : "RTS";
    const std::string ort = "COM" + std::to_string(o.port) + " (" + anschluss.geraet(o.port).string() + ")";

    if (o.zustand == "off") {
        // Opening puts both lines low; the chosen one is then dropped explicitly.
        if (fw.FunkSenden(0) != 0 || fw.FunkEmpfangen(leitung) != 0)
            throw std::runtime_error(ort + ": " + anschlussGrund(anschluss.geraet(o.port).string()));
        std::cerr << name << " auf " << ort << " ist Lo (Empfang)\n";
        return;
    }

    // The same guard as a keyed send: released below, or on any way out.
    std::unique_ptr<GetasteteLeitung> gehalten;
    try {
        gehalten = std::make_unique<GetasteteLeitung>(fw, leitung, ort);
    } catch (const std::runtime_error&) {
        throw std::runtime_error(ort + ": " + anschlussGrund(anschluss.geraet(o.port).string()));
    }
    std::cerr << name << " auf " << ort << " ist Hi (Senden)";
    if (o.dauer >= 0)
        std::cerr << " für " << o.dauer << " s\n";
    else
        std::cerr << ", Strg+C (oder SIGTERM, SIGHUP) gibt frei\n";

    // No timer runs while the line is held; the loop only waits for the end.
    SchleifenZeitgeber keiner1, keiner2;
    const auto ende = std::chrono::steady_clock::now() + std::chrono::duration<double>(o.dauer);
    liveSchleife(keiner1, keiner2,
                 [&] { return o.dauer >= 0 && std::chrono::steady_clock::now() >= ende; });
    const Long frei = gehalten->freigeben();
    std::cerr << name << " auf " << ort << (frei == 0 ? " ist Lo (Empfang)\n" : ": Fehler beim Freigeben\n");
    if (frei != 0) throw std::runtime_error(ort + ": Fehler aufgetreten");
}

}  // namespace

void keyBefehl(CLI::App& app) {
    auto o = std::make_shared<KeyOptionen>();
    CLI::App* cmd = app.add_subcommand("key", "Sender über DTR oder RTS einer seriellen Schnittstelle tasten");
    cmd->add_option("--port", o->port, "Schnittstelle 1 bis 4 (COM1 bis COM4)")->required()->check(zahlVon(1, 4));
    // --key as in `send`; --line is the old spelling.
    cmd->add_option("--key", o->leitung, "Leitung: dtr oder rts (Pflicht)")->check(eineVon({"dtr", "rts"}));
    cmd->add_option("--line", o->leitung)->check(eineVon({"dtr", "rts"}))->group("");
    cmd->add_option("zustand", o->zustand, "on (Senden) oder off (Empfang)")->required()->check(eineVon({"on", "off"}));
    cmd->add_option("--device", o->geraet, "Gerätedatei der Schnittstelle (Standard /dev/ttyS0 bis /dev/ttyS3)");
    cmd->add_option("--for", o->dauer, "bei on: nach so vielen Sekunden freigeben statt auf Strg+C zu warten")
        ->check(CLI::Validator(
            [](std::string& s) -> std::string {
                double d = 0;
                return CLI::detail::lexical_cast(s, d) && d >= 0 ? "" : "\"" + s + "\" nicht erlaubt; erlaubt sind Sekunden ab 0";
            },
            ""));
    cmd->callback([o] { tasten(*o); });
}

}  // namespace tonwerk::werkzeug
