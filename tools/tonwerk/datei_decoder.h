// Runs audio through a real Funkwandler on a simulated input as fast as the CPU
// allows. Time advances with the audio: Timer1 ticks once per filled buffer and
// Timer2 once per second of audio.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "audioquelle.h"

#include "tonwerk/core/bestueckung.h"

namespace tonwerk::werkzeug {

class DateiDecoder {
public:
    // Sets Samplerates for 11025, 22050 or 44100 Hz; other rates are an error.
    explicit DateiDecoder(int abtastrate);
    ~DateiDecoder();

    Funkwandler& kontrolle() { return fw_; }
    // Starts capture; call after the properties are set.
    void starten();
    // Feeds 8-bit stereo frames and processes every buffer they complete.
    void einspeisen(const std::vector<std::uint8_t>& stereo) { einspeisen(stereo.data(), stereo.size()); }
    void einspeisen(const std::uint8_t* stereo, std::size_t bytes);
    // Ends the runs still open, processes the rest and stops.
    void beenden();
    // Seconds of audio delivered to the control so far.
    double zeit() const { return static_cast<double>(geliefert_) / abtastrate_; }

private:
    Bestueckung<> plattform_;
    Funkwandler& fw_ = plattform_.fw;
    int abtastrate_;
    std::size_t pufferBytes_ = 0;
    std::uint64_t geliefert_ = 0;
    std::uint64_t sekunden_ = 0;
    bool laeuft_ = false;
    std::uint8_t letzterRahmen_[2] = {128, 128};

    void verarbeiten(std::size_t frames);
};

// Feeds the whole source to a started decoder (and a second one, if given) in
// blocks of 16384 frames (so a long file is streamed, never held), then ends
// them. `gelesen` hears the frames read so far after each block, `roh` each
// block's 16-bit samples (interleaved, the source's channels) before it is fed.
void einspeisenBisEnde(AudioQuelle& quelle, DateiDecoder& decoder,
                       const std::function<void(std::int64_t)>& gelesen = {}, DateiDecoder* zweiter = nullptr,
                       const std::function<void(const std::int16_t*, std::size_t)>& roh = {});

}  // namespace tonwerk::werkzeug
