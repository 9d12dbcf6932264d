// Receiving side of `tonwerk demo`: decodes the recording with a second control,
// counts what arrives and sets it against what was sent.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "audioquelle.h"
#include "demo_sendungen.h"

namespace tonwerk::werkzeug {

struct Empfang {
    int kanal = 0;
    std::string art;
    std::string schluessel;  // EmpfangsSchluessel of the event
};

// The receiving control's settings (NAME=VALUE) for a recording at `abtastrate`
// with POCSAG at `baud`: PocBaudRates to match, and at 44100 Hz a period
// tolerance ZVEIDiffMax of 2 samples. The default of 1 sample is a quarter of
// the time there that it is at 11025 Hz; with 30 dB of noise a 4 s tone call of
// 1750 Hz then breaks into several short ones.
std::vector<std::string> demoEmpfaengerEinstellungen(int abtastrate, int baud);

// Decodes `quelle` with a fresh control on all decoders of both channels and the
// properties `setzen` (NAME=VALUE); every event is printed to `aus` as `decode`
// prints it (text or JSON), when `aus` is given. A tone call counts once
// (TonrufDecodierungA; its twin TonrufDecodierung is printed only).
std::vector<Empfang> demoDecodieren(AudioQuelle& quelle, const std::vector<std::string>& setzen,
                                    std::ostream* aus = nullptr, bool json = false);

struct BilanzZeile {
    int kanal = 0;
    std::string art;
    std::string inhalt;
    int gesendet = 0;   // 0 for an event nothing was sent for
    int empfangen = 0;
};

// One line per transmission in sending order, then one per unexpected event.
std::vector<BilanzZeile> bilanzieren(const std::vector<DemoSendung>& sendungen, const std::vector<Empfang>& empfangen);

// Everything sent arrived as often as it went on air, and nothing else.
bool bilanzStimmt(const std::vector<BilanzZeile>& bilanz);

// A table for people, or one JSON object for machines.
void bilanzAusgeben(std::ostream& aus, const std::vector<BilanzZeile>& bilanz, bool json);

}  // namespace tonwerk::werkzeug
