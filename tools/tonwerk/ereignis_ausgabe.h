// Prints the control's events for people (one line each) or machines (one JSON
// object per line), stamped with their position in the audio.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "tonwerk/core/records.h"

namespace tonwerk::werkzeug {

class EreignisAusgabe : public FunkwandlerListener {
public:
    // `zeit` tells the position in seconds of the audio being processed.
    EreignisAusgabe(std::ostream& aus, bool json, bool pegel, std::function<double()> zeit)
        : aus_(aus), json_(json), pegel_(pegel), zeit_(std::move(zeit)) {}

    void Signalstaerke(SignalstaerkeType& w) override;
    void FMSDecodierung(FmsTlgType& w) override;
    void ZVEIDecodierung(ZVEIType& w) override;
    void POCDecodierung(POCType& w) override;
    void PufferUeberlauf(Long& w) override;
    void WaveRecordEnd(Long& w) override;
    void TonrufDecodierung(Long& w) override;
    void TonrufDecodierungA(TonrufType& w) override;

    // A POCSAG message found at `baud` bit/s, at `zeit` (default: the output's clock).
    void pocMeldung(POCType& w, int baud, std::optional<double> zeit = std::nullopt);

    // Called before a line is written (e.g. to clear a progress bar).
    std::function<void()> vorZeile;
    // Bit rate of the POCSAG messages that reach POCDecodierung.
    int pocBaud = 512;
    // Sees every event with its time and fields before it is written; may add
    // fields, and to `kopf` (event and time, written by --json ahead of the
    // fields), and suppresses the event by returning false.
    std::function<bool(const char* name, double zeit, nlohmann::ordered_json& kopf, nlohmann::ordered_json& felder)>
        weiche;

private:
    std::ostream& aus_;
    bool json_;
    bool pegel_;
    std::function<double()> zeit_;

    void ausgeben(const char* name, nlohmann::ordered_json felder, std::optional<double> zeit = std::nullopt);
};

}  // namespace tonwerk::werkzeug
