// A sound input fed from 8-bit stereo PCM held in memory: tests and the file
// decoder hand it audio and decide when the "device" fills the next buffer.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "tonwerk/platform/sound_eingang.h"

namespace tonwerk {

class SimulierterEingang : public SoundEingang {
public:
    // Appends interleaved unsigned 8-bit stereo frames (left byte first).
    void anhaengen(const std::uint8_t* daten, std::size_t bytes);
    void anhaengen(const std::vector<std::uint8_t>& daten) { anhaengen(daten.data(), daten.size()); }
    // Appends kAbschlussFrames frames of the opposite sign on each channel and one
    // of the original sign, so that the runs in progress at the end of the audio
    // end and reach the run tables, followed by a run no decoder takes as signal.
    void abschliessen();
    static constexpr int kAbschlussFrames = 64;
    // Fills the oldest queued buffer with the next frames; a short tail is padded by
    // repeating the last frame, which ends no run. Returns the frames of audio
    // delivered, 0 when nothing was filled (no audio left, nothing queued, not started).
    std::size_t fuellen();
    std::size_t restBytes() const { return daten_.size() - lesePosition_; }
    std::int32_t abtastrate() const { return abtastrate_; }
    bool geoeffnet() const { return geoeffnet_; }

    // A device error to report from oeffnen/starten (0 = none).
    void fehlerSetzen(std::int32_t fehler) { fehler_ = fehler; }

    std::int32_t geraeteAnzahl() override { return 1; }
    std::int32_t geraeteInfo(std::int32_t index, std::string& name, std::int32_t& formate) override;
    std::int32_t oeffnen(std::int32_t index, std::int32_t abtastrate) override;
    std::int32_t vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) override;
    std::int32_t einreihen(int puffer) override;
    std::int32_t starten() override;
    bool fertig(int puffer) const override;
    std::int32_t zuruecksetzen() override;
    std::int32_t schliessen() override;

    static constexpr std::int32_t kFehlerUngueltig = 5;  // no such device / not open

private:
    struct Puffer {
        std::uint8_t* daten = nullptr;
        std::size_t bytes = 0;
        bool fertig = false;
    };
    std::vector<std::uint8_t> daten_;
    std::size_t lesePosition_ = 0;
    Puffer puffer_[kPuffer];
    std::deque<int> warteschlange_;
    std::int32_t abtastrate_ = 0;
    std::int32_t fehler_ = 0;
    bool geoeffnet_ = false;
    bool gestartet_ = false;
};

}  // namespace tonwerk
