#include "rufpilot/demo/leitstelle.h"

namespace rufpilot {

namespace {
// A control centre answers a moment after the vehicle's telegram ended.
constexpr int kAntwortverzugMs = 50;
}  // namespace

Leitstelle::Leitstelle(SimulierteZeit& zeit, Funkempfaenger& zumGateway, const std::filesystem::path& sendeverzeichnis)
    : ausgabe_(zeit, false, kAntwortverzugMs),
      timer1_(zeit.timer()),
      timer2_(zeit.timer()),
      fw_(tonwerk::Plattform{eingang_, ausgabe_, anschluss_, timer1_, timer2_, uhr_}) {
    ausgabe_.gegenstelle(zumGateway);
    fw_.setListener(this);
    std::filesystem::create_directories(sendeverzeichnis);
    fw_.Sendeverzeichnis(sendeverzeichnis);
    fw_.Samplerates(0);
    // A control centre answers quickly: 100 ms capture buffers (longer than
    // the 60 ms tick, so the decoder keeps up with the air), no lead-in.
    fw_.RecordPufferSize(1102);
    fw_.FMSSendeVorlauf(0);
    fw_.DecRechtsFMS(tonwerk::Falsch);
    empfaenger_ = std::make_unique<Funkempfaenger>(zeit, eingang_, fw_);
    fw_.SoundStart();
}

Leitstelle::~Leitstelle() { fw_.setListener(nullptr); }

void Leitstelle::FMSDecodierung(tonwerk::FmsTlgType& t) {
    if (t.Richtung != 0) return;
    gehoert_.push_back(t);
    if (verhalten == Verhalten::Schweigen) return;
    const std::string kennung = verhalten == Verhalten::AnderesFahrzeug ? fremdeKennung : t.Kennung;
    quittiert_.push_back(kennung);
    fw_.FMSSenden(kennung, 1, quittungsstatus, t.tki, t.Baustufe, "", 0, 0);
}

}  // namespace rufpilot
