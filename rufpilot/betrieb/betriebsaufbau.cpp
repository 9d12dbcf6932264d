#include "rufpilot/betrieb/betriebsaufbau.h"

namespace rufpilot {

std::unique_ptr<Maschinensperre> maschineSperren(const Betriebsoptionen& optionen) {
    // The port's device names as the run would set them; nothing is opened.
    tonwerk::TermiosAnschluss anschluss;
    for (const auto& [port, geraet] : optionen.ports) anschluss.geraetSetzen(port, geraet);
    return std::make_unique<Maschinensperre>(
        sperrverzeichnis(),
        betriebsmittel(optionen.verzeichnis, optionen.pcm, [&](int p) { return anschluss.geraet(p); }));
}

Betriebsaufbau::Betriebsaufbau(const Betriebsoptionen& optionen, Ereignisschleife& schleife,
                               Zeitgeberbelegung zeitgeber, Oberflaeche& oberflaeche)
    : ausgabe_(optionen.pcm),
      fw_(tonwerk::Plattform{eingang_, ausgabe_, steuerungsAnschluss_, zeitgeber.funkwandler1, zeitgeber.funkwandler2,
                             uhr_}),
      quelle_(optionen.verzeichnis, schleife),
      anwendung_(Anwendungsteile{oberflaeche, schleife, fw_, anschluss_, quelle_.treiber(), zeitgeber.anwendung,
                                 optionen.verzeichnis}),
      pumpe_(zeitgeber.pumpe) {
    for (const auto& [port, geraet] : optionen.ports) anschluss_.geraetSetzen(port, geraet);
}

void Betriebsaufbau::starten() {
    quelle_.anbinden(anwendung_.vermittlung());
    anwendung_.starten();
    if (quelle_.brauchtPumpe()) pumpe_.aktivieren(20, [this] { anwendung_.monitor().pumpen(); });
}

}  // namespace rufpilot
