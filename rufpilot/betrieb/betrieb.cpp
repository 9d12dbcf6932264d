#include "rufpilot/betrieb/betrieb.h"

#include <atomic>
#include <csignal>
#include <iostream>

#include "rufpilot/betrieb/betriebsaufbau.h"
#include "rufpilot/betrieb/echtzeit_schleife.h"
#include "rufpilot/betrieb/einzelinstanz.h"
#include "rufpilot/betrieb/text_oberflaeche.h"

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
    const auto sperre = maschineSperren(optionen);
    if (!sperre->gehalten()) {
        std::cerr << sperre->meldung() << '\n';
        return 1;
    }
    struct sigaction aktion {};
    aktion.sa_handler = endeSignal;
    sigemptyset(&aktion.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &aktion, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    EchtzeitSchleife schleife;
    TextOberflaeche oberflaeche(std::cout);
    Betriebsaufbau aufbau(optionen, schleife,
                          {schleife.timer(), schleife.timer(), schleife.timer(), schleife.timer()}, oberflaeche);
    aufbau.starten();
    schleife.laufen(gEnde);
    std::cout << "bitte warten, die Soundkarte(n) werden reinitialisiert ...\n" << std::flush;
    aufbau.anwendung().beenden();
    return 0;
}

}  // namespace rufpilot
