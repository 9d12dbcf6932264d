// The control centre of the demo: a second Funkwandler on the same simulated
// time that hears the gateway's transmissions and answers each status
// telegram from a vehicle with an acknowledgement (Richtung 1, status >= 14),
// sent by its own FMSSenden, or stays silent, or acknowledges another vehicle.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rufpilot/simulation/funkstrecke.h"
#include "rufpilot/simulation/simulierte_zeit.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_eingang.h"

namespace rufpilot {

class Leitstelle : private tonwerk::FunkwandlerListener {
public:
    enum class Verhalten { Quittieren, Schweigen, AnderesFahrzeug };

    // Answers into `zumGateway`; hears what is put on air to `empfaenger()`.
    Leitstelle(SimulierteZeit& zeit, Funkempfaenger& zumGateway, const std::filesystem::path& sendeverzeichnis);
    ~Leitstelle() override;

    Funkempfaenger& empfaenger() { return *empfaenger_; }
    Verhalten verhalten = Verhalten::Quittieren;
    tonwerk::Integer quittungsstatus = 15;
    std::string fremdeKennung = "6A1B9999";

    // Status telegrams heard from vehicles and acknowledgements sent, in order.
    const std::vector<tonwerk::FmsTlgType>& gehoert() const { return gehoert_; }
    const std::vector<std::string>& quittiert() const { return quittiert_; }

private:
    void FMSDecodierung(tonwerk::FmsTlgType& t) override;

    tonwerk::SimulierterEingang eingang_;
    Funkausgabe ausgabe_;
    tonwerk::KeinAnschluss anschluss_;
    SimulierteZeit::Timer& timer1_;
    SimulierteZeit::Timer& timer2_;
    tonwerk::SchrittUhr uhr_;
    tonwerk::Funkwandler fw_;
    std::unique_ptr<Funkempfaenger> empfaenger_;
    std::vector<tonwerk::FmsTlgType> gehoert_;
    std::vector<std::string> quittiert_;
};

}  // namespace rufpilot
