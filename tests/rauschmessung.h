// Decoding against white noise, measured the same way by the bench table and the
// test suite: random messages of one kind, synthesised by the control's own
// transmitters at exact frequencies, upsampled to the capture rate, laid one after
// the other with 0.4 to 0.8 s between them, white Gaussian noise over the whole
// recording, and the result fed through a real Funkwandler on the left channel.
// POCSAG can instead come from the reference generator with an exact bit clock.
//
// SNR is the mean power of the signal while it is on over the noise power in the
// full band (0 to rate/2), so a higher rate puts less noise into a signal's band.
#pragma once

#include <cstdint>
#include <string>

namespace tonwerk::rauschmessung {

enum class Signalart { FMS, ZVEI, POC512, POC1200, TonrufI, TonrufII, TonrufIILang };

// Column title: "FMS", "ZVEI", "POCSAG 512", ..., "Tonruf II lang".
std::string name(Signalart art);

struct Zelle {
    Signalart art = Signalart::FMS;
    int rate = 11025;  // 11025, 22050 or 44100
    double snrDb = 20;
    int anzahl = 50;   // messages sent
    bool empfangsfilter = false;
    std::uint32_t saat = 1;  // the audio depends on it, on the kind, rate and SNR; not on the filter
    // POCSAG only: the messages come from the reference generator (tests/referenz),
    // with an exact bit clock, instead of the control's transmitter.
    bool referenz = false;
};

struct Ergebnis {
    int gesendet = 0;
    int richtig = 0;  // messages decoded with every field right (tone calls: exactly one event, of their kind)
    int falsch = 0;   // events of the measured kind that match no sent message
    // The events of `falsch` that are no mere repeat of a right one, split by
    // their address (POCSAG RIC, FMS Kennung, ZVEI number): one that was sent
    // with another content, and one that was never sent. Tone calls: none.
    int verstuemmelt = 0;
    int erfunden = 0;
    int fremd = 0;  // FMS and ZVEI events in a POCSAG cell, which sends neither
    double anteil() const { return gesendet > 0 ? static_cast<double>(richtig) / gesendet : 0.0; }
};

// Whether the control has the property `Empfangsfilter` (set by name, so this
// code does not depend on it).
bool empfangsfilterVorhanden();

// Sends, receives and scores one cell. With `empfangsfilter` true and no such
// property, the filter is simply not set.
Ergebnis messen(const Zelle& zelle);

// "0.94", "0.94 (+2)", "1.00", "0": the form of the published table.
std::string alsText(const Ergebnis& e);

// Counts: "right/garbled/invented", e.g. "297/1/0", with " +2 FMS/ZVEI" for `fremd`.
std::string alsZaehlung(const Ergebnis& e);

}  // namespace tonwerk::rauschmessung
