#include "tonwerk/core/blockverteiler.h"

#include <algorithm>
#include <limits>

namespace tonwerk {

int nutzbarePufferFrames(Long recordPufferSize) {
    return static_cast<int>(std::clamp<Long>(recordPufferSize, 1, Blockverteiler::kMaxFrames));
}

Blockverteiler::Blockverteiler()
    : speicher_(static_cast<std::size_t>(SoundEingang::kPuffer) * kPufferBytes, 128),
      tabellen_(static_cast<std::size_t>(8) * (kMaxFrames + 1)) {}

Long Blockverteiler::starten(SoundEingang& eingang, Long karte, Long abtastrate, Long frames) {
    ueberlaufZaehler_ = 0;
    frames_ = nutzbarePufferFrames(frames);
    // Device errors do not stop the sequence: a failed open makes the rest fail
    // too, and the result of starting is what the caller reports.
    eingang.oeffnen(karte, abtastrate);
    for (int b = 0; b < SoundEingang::kPuffer; ++b) {
        eingang.vorbereiten(b, puffer(b), static_cast<std::size_t>(2 * frames_));
        eingang.einreihen(b);
    }
    pufferIndex_ = 0;
    return eingang.starten();
}

void Blockverteiler::tick(SoundEingang& eingang, BlockEmpfaenger& empfaenger, Integer sampleFehlerRate) {
    const int b = pufferIndex_;
    if (!eingang.fertig(b)) return;
    const std::uint8_t* daten = puffer(b);

    SignalstaerkeType staerke;
    staerke.links = pegelmessung(daten, frames_, 0);
    staerke.rechts = pegelmessung(daten, frames_, 1);
    empfaenger.pegel(staerke);

    int n[2];
    halbwellenanalyseStereo(daten, frames_, lauf_, sampleFehlerRate, slot(b), slot(4 + b), n[0], n[1]);
    std::array<Laeufe, 2> laeufe;
    std::array<bool, 2> ende{};
    const std::int32_t laengster = empfaenger.laengsterLauf();
    for (int kanal = 0; kanal < 2; ++kanal) {
        laeufe[kanal] = Laeufe(slot(kanal * 4 + b), static_cast<std::size_t>(n[kanal]));
        // With a stored run the open one began in this buffer and Lauflaenge is
        // exact; without one (glitches merged back included) it went on through
        // the whole buffer.
        if (n[kanal] > 0) {
            offenerLauf_[kanal] = lauf_[kanal].Lauflaenge;
            endeGemeldet_[kanal] = false;
        } else {
            offenerLauf_[kanal] = static_cast<std::int32_t>(std::min<std::int64_t>(
                std::int64_t{offenerLauf_[kanal]} + frames_, std::numeric_limits<std::int32_t>::max()));
        }
        ende[kanal] = !endeGemeldet_[kanal] && offenerLauf_[kanal] > laengster;
        endeGemeldet_[kanal] = endeGemeldet_[kanal] || ende[kanal];
    }

    empfaenger.blockSchreiben(daten, static_cast<std::size_t>(2 * frames_));
    empfaenger.pufferDekodieren(laeufe, daten, frames_);
    if (ende[0] || ende[1]) empfaenger.signalEnde(ende);

    eingang.einreihen(b);
    pufferIndex_ = static_cast<Integer>((b + 1) % SoundEingang::kPuffer);
    if (eingang.fertig(pufferIndex_)) {
        ++ueberlaufZaehler_;
        empfaenger.ueberlauf(ueberlaufZaehler_);
    }
}

Long Blockverteiler::stoppen(SoundEingang& eingang) {
    eingang.zuruecksetzen();
    return eingang.schliessen();
}

}  // namespace tonwerk
