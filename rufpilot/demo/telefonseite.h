// The demo's telephone side: places each call through the chosen source
// (the world keeps what the gateway asked of it). ISDN calls arrive on the simulated
// line; call monitor calls as RING lines written by a router peer on
// 127.0.0.1, with the simulated line placing the call-backs (as the IP phone
// account would); SIP calls as INVITEs from a SIP router peer on 127.0.0.1
// that the gateway registers at and whose phones its call-backs ring.
#pragma once

#include <memory>
#include <string>

#include "rufpilot/config/rufquelle.h"
#include "rufpilot/demo/simulierte_welt.h"

namespace rufpilot {

class Telefonseite {
public:
    virtual ~Telefonseite() = default;
    // What the world is to be built with (empty: the simulated line).
    virtual SimulierteWelt::Quellenbau quellenbau() { return {}; }
    // After the application started.
    virtual void verbunden(SimulierteWelt&) {}
    // After the calls, before the application shuts down.
    virtual void vorEnde(SimulierteWelt&) {}
    // A call with the Calling party number's contents (type octet,
    // presentation octet, digits) to `msn`; with `auflegen` the caller hangs
    // up at once.
    virtual void anrufen(SimulierteWelt& w, const std::string& anruferStruct, const std::string& msn,
                         bool auflegen) = 0;
    // A line for the heading of the demo.
    virtual std::string beschreibung() const = 0;
};

// The telephone side of `quelle`.
std::unique_ptr<Telefonseite> telefonseiteFuer(Quellenart quelle);

}  // namespace rufpilot
