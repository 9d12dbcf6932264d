// Sound output: plays a WAV file and returns once it has been played.
#pragma once

#include <filesystem>

namespace tonwerk {

class SoundAusgabe {
public:
    virtual ~SoundAusgabe() = default;
    // Blocks until the file has been played; throws std::system_error on failure.
    virtual void abspielen(const std::filesystem::path& wavDatei) = 0;
};

}  // namespace tonwerk
