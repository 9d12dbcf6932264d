#include "rufpilot/ui/betrieb.h"

#include <atomic>
#include <csignal>
#include <iostream>

#include "rufpilot/dispatch/anwendung.h"
#include "rufpilot/ui/quellenstart.h"
#include "rufpilot/ui/echtzeit_schleife.h"
#include "rufpilot/ui/einzelinstanz.h"
#include "rufpilot/ui/maschinensperre.h"
#include "rufpilot/ui/text_oberflaeche.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/alsa_ausgabe.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/termios_anschluss.h"

namespace rufpilot {

namespace {

std::atomic<bool> gEnde{false};

extern "C" void endeSignal(int) { gEnde.store(true); }

}  // namespace

int betreiben(const Betriebsoptionen& optionen) {
    Einzelinstanz instanz(optionen.verzeichnis);
    if (!instanz.gehalten()) {
        std::cerr << instanz.meldung() << '\n';
        return 1;
    }
    tonwerk::TermiosAnschluss anschluss;
    for (const auto& [port, geraet] : optionen.ports) anschluss.geraetSetzen(port, geraet);
    const Maschinensperre sperre(sperrverzeichnis(), betriebsmittel(optionen.verzeichnis, optionen.pcm,
                                                                     [&](int p) { return anschluss.geraet(p); }));
    if (!sperre.gehalten()) {
        std::cerr << sperre.meldung() << '\n';
        return 1;
    }
    struct sigaction aktion {};
    aktion.sa_handler = endeSignal;
    sigemptyset(&aktion.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &aktion, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    EchtzeitSchleife schleife;
    TextOberflaeche oberflaeche(std::cout);
    tonwerk::AlsaEingang eingang;
    tonwerk::AlsaAusgabe ausgabe(optionen.pcm);
    tonwerk::KeinAnschluss steuerungsAnschluss;  // the control's own keying stays unused
    tonwerk::SystemUhr uhr;
    tonwerk::Funkwandler fw(
        tonwerk::Plattform{eingang, ausgabe, steuerungsAnschluss, schleife.timer(), schleife.timer(), uhr});
    Quellenstart quelle(optionen.verzeichnis, schleife);

    Anwendung anwendung(Anwendungsteile{oberflaeche, schleife, fw, anschluss, quelle.treiber(), schleife.timer(),
                                        optionen.verzeichnis});
    quelle.anbinden(anwendung.vermittlung());
    anwendung.starten();
    // SIP retransmissions and replies cannot wait for the monitor's tick.
    tonwerk::SchleifenZeitgeber& pumpe = schleife.timer();
    if (quelle.brauchtPumpe()) pumpe.aktivieren(20, [&quelle] { quelle.treiber().pumpen(); });
    schleife.laufen(gEnde);
    std::cout << "bitte warten, die Soundkarte(n) werden reinitialisiert ...\n" << std::flush;
    anwendung.beenden();
    return 0;
}

}  // namespace rufpilot
