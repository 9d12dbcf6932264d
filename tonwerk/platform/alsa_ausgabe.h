// Sound output on ALSA: plays a WAV file on a PCM and returns once it has been
// played to the end.
#pragma once

#include <string>

#include "tonwerk/platform/sound_ausgabe.h"

namespace tonwerk {

class AlsaAusgabe : public SoundAusgabe {
public:
    // `pcm` is an ALSA PCM name; "default" is the system's default output.
    explicit AlsaAusgabe(std::string pcm = "default") : pcm_(std::move(pcm)) {}

    // Reads the file with libsndfile (any format it knows; 8-bit data is played
    // as it stands, everything else as 16-bit) and blocks until it is drained.
    void abspielen(const std::filesystem::path& wavDatei) override;

    const std::string& pcm() const { return pcm_; }

private:
    std::string pcm_;
};

}  // namespace tonwerk
