// The radio path of the demo and the end-to-end tests: what one side
// transmits, the other side's sound card captures, on simulated time.
//
// A `Funkempfaenger` turns the air into capture buffers as the clock moves:
// exact silence (mid-scale, a closed squelch) except where a transmission was
// put on air. Transmit audio is the system's 8-bit mono 11025 Hz; at a higher
// capture rate each sample is repeated, which keeps every zero crossing where
// it was. The audio lands on the left channel, the right stays silent.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

#include "rufpilot/simulation/simulierte_zeit.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/simulierter_eingang.h"
#include "tonwerk/platform/sound_ausgabe.h"

namespace rufpilot {

class Funkempfaenger {
public:
    // `fw` is the control whose capture `eingang` is; its rate and buffer size
    // are read at every step, so they may change after construction.
    Funkempfaenger(SimulierteZeit& zeit, tonwerk::SimulierterEingang& eingang, const tonwerk::Funkwandler& fw);

    // Puts transmit audio (8-bit mono, 11025 Hz) on air from `abMs` on (from
    // now, if that has passed); overlapping transmissions add up around mid-scale.
    void aufLuft(std::int64_t abMs, std::vector<std::uint8_t> proben);

private:
    void bis(std::int64_t jetztMs);

    tonwerk::SimulierterEingang& eingang_;
    const tonwerk::Funkwandler& fw_;
    struct Sendung {
        std::int64_t abMs;
        std::vector<std::uint8_t> proben;
    };
    std::deque<Sendung> luft_;
    std::int64_t frames_ = 0;  // frames captured so far
    std::int64_t bisMs_;       // time captured up to
    std::int32_t rate_ = 0;
};

// A sound output that transmits on the radio path: playback blocks the
// sending side for the length of the audio (the clock moves on, no timer
// runs), or, for a peer that is another machine, only puts the audio on air.
class Funkausgabe : public tonwerk::SoundAusgabe {
public:
    Funkausgabe(SimulierteZeit& zeit, bool blockierend, int verzugMs = 0)
        : zeit_(zeit), blockierend_(blockierend), verzugMs_(verzugMs) {}

    // Who hears it; until set, transmissions go nowhere.
    void gegenstelle(Funkempfaenger& empfaenger) { gegenstelle_ = &empfaenger; }
    void abspielen(const std::filesystem::path& wavDatei) override;

    int sendungen() const { return sendungen_; }

private:
    SimulierteZeit& zeit_;
    Funkempfaenger* gegenstelle_ = nullptr;
    bool blockierend_;
    int verzugMs_;
    int sendungen_ = 0;
};

// The samples of a transmit file (the system's 44-byte header, 8-bit mono).
std::vector<std::uint8_t> sendeprobenLesen(const std::filesystem::path& wavDatei);

}  // namespace rufpilot
