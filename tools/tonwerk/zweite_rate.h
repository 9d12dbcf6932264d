// POCSAG at the other bit rate. A control decodes one bit rate at a time, so a
// second control reads the same audio for POCSAG alone at the rate the main
// control does not use; its messages go to the same output, marked with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "datei_decoder.h"
#include "ereignis_ausgabe.h"

namespace tonwerk::werkzeug {

// PocBaudRates value to bit/s and back.
int pocBaud(Integer pocBaudRates);
Integer pocBaudRates(int baud);

class ZweiteRate : public FunkwandlerListener {
public:
    // `setzen` are the user's settings, as on the main control; `audioZeit`:
    // stamp messages with this control's audio position rather than the output's clock.
    ZweiteRate(int abtastrate, const std::vector<std::string>& setzen, int baud, EreignisAusgabe& aus, bool audioZeit);
    ~ZweiteRate() override;

    DateiDecoder& decoder() { return decoder_; }
    void POCDecodierung(POCType& w) override;

private:
    DateiDecoder decoder_;
    EreignisAusgabe& aus_;
    int baud_;
    bool audioZeit_;
};

}  // namespace tonwerk::werkzeug
