// Audio for the decoder: a sound file read with libsndfile, or raw signed 16-bit
// samples from standard input. Hands out unsigned 8-bit stereo frames as the
// capture delivers them: the high byte of a 16-bit sample keeps its sign; a
// mono source goes to the left channel.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

class AudioQuelle {
public:
    virtual ~AudioQuelle() = default;
    virtual int abtastrate() const = 0;
    virtual int kanaele() const = 0;
    // Total frames, or -1 when unknown (a stream).
    virtual std::int64_t frames() const = 0;
    // Appends up to `maxFrames` 8-bit stereo frames to `stereo`; returns the frames read, 0 at the end.
    virtual std::size_t lesen(std::vector<std::uint8_t>& stereo, std::size_t maxFrames) = 0;
};

// Throws std::runtime_error with a readable message when the file cannot be used.
std::unique_ptr<AudioQuelle> dateiOeffnen(const std::string& pfad);
std::unique_ptr<AudioQuelle> rohdatenOeffnen(std::FILE* ein, int abtastrate, int kanaele);

// Turns interleaved 16-bit samples of 1 or 2 channels into 8-bit stereo frames.
void nachAchtBitStereo(const std::int16_t* samples, std::size_t frames, int kanaele, std::vector<std::uint8_t>& stereo);

}  // namespace tonwerk::werkzeug
