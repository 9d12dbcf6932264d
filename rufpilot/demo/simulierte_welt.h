// Rufpilot in a simulated world: simulated time, a loopback radio to a
// control centre with its own Funkwandler, a simulated telephone line, the
// gateway's serial port in memory and a text window (and, when given, the real
// window besides). The demo and the end-to-end tests run the real application
// core in it.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>

#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/simulation/simulierte_leitung.h"
#include "rufpilot/demo/doppelte_oberflaeche.h"
#include "rufpilot/simulation/funkstrecke.h"
#include "rufpilot/demo/leitstelle.h"
#include "rufpilot/demo/mitschrift.h"
#include "rufpilot/dispatch/anwendung.h"
#include "rufpilot/simulation/simulierte_zeit.h"
#include "rufpilot/betrieb/text_oberflaeche.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_anschluss.h"
#include "tonwerk/platform/simulierter_eingang.h"

namespace rufpilot {

struct SimulierteWelt {
    SimulierteZeit zeit;
    tonwerk::SimulierterEingang eingang;
    Funkausgabe ausgabe{zeit, true};
    tonwerk::KeinAnschluss kontrollAnschluss;  // the control's own keying stays unused
    tonwerk::SchrittUhr uhr;
    tonwerk::Funkwandler fw{tonwerk::Plattform{eingang, ausgabe, kontrollAnschluss, zeit.timer(), zeit.timer(), uhr}};
    Funkempfaenger empfaenger{zeit, eingang, fw};
    Leitstelle leitstelle;
    tonwerk::SimulierterAnschluss anschluss;
    SimulierteLeitung leitung;
    CapiQuelle isdn{leitung};
    TextOberflaeche ui;
    DoppelteOberflaeche oberflaechen;
    SimulierteZeit::Timer& fensterTimer;
    // Another call source than the simulated line, when one was built.
    std::unique_ptr<Anrufquelle> quelle;
    // What the gateway asked of its call source.
    MitschreibendeQuelle mitschrift;
    Anwendung anwendung;

    // Builds the call source from the world's time and line (the application
    // does not exist yet while it runs).
    using Quellenbau = std::function<std::unique_ptr<Anrufquelle>(SimulierteWelt&)>;

    // `verzeichnis` holds the gateway's files; `start` is the wall-clock time
    // at simulated millisecond 0; `fenster`, when given, shows what `ui` shows;
    // `bau`, when given, builds the call source instead of the simulated line.
    SimulierteWelt(const std::filesystem::path& verzeichnis, std::ostream& aus, Ortszeit start,
                   Oberflaeche* fenster = nullptr, const Quellenbau& bau = {})
        : zeit(start),
          leitstelle(zeit, empfaenger, verzeichnis / "leitstelle"),
          ui(aus),
          oberflaechen(ui, fenster),
          fensterTimer(zeit.timer()),
          quelle(bau ? bau(*this) : nullptr),
          mitschrift(quelle ? *quelle : static_cast<Anrufquelle&>(isdn)),
          anwendung(Anwendungsteile{oberflaechen, zeit, fw, anschluss, mitschrift, fensterTimer, verzeichnis}) {
        std::filesystem::create_directories(verzeichnis / "sendung");
        fw.Sendeverzeichnis(verzeichnis / "sendung");
        ausgabe.gegenstelle(leitstelle.empfaenger());
    }
    ~SimulierteWelt() { fw.setListener(nullptr); }
    SimulierteWelt(const SimulierteWelt&) = delete;
    SimulierteWelt& operator=(const SimulierteWelt&) = delete;
};

}  // namespace rufpilot
