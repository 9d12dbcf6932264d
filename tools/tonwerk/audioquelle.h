// Audio for the decoder: a sound file read with libsndfile, or raw signed 16-bit
// little-endian samples from standard input, as interleaved 16-bit samples.
// A source at a rate the control does not capture at is resampled to the
// nearest one it does.
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
    // Something the user should know about how the source is read, one line;
    // empty when nothing is to be said.
    virtual std::string hinweis() const { return {}; }
    // Replaces `samples` with up to `maxFrames` interleaved frames; returns the frames read, 0 at the end.
    virtual std::size_t lesen(std::vector<std::int16_t>& samples, std::size_t maxFrames) = 0;
};

// Throws std::runtime_error with a readable message when the file cannot be used.
// A WAV file whose header states fewer data bytes than follow it (a recording
// cut off before its end) is read to the end of the file, and hinweis() says so.
std::unique_ptr<AudioQuelle> dateiOeffnen(const std::string& pfad);
// Raw signed 16-bit little-endian samples; `schonGelesen` are bytes of the stream
// already taken from `ein` (to look at them), read first.
std::unique_ptr<AudioQuelle> rohdatenOeffnen(std::FILE* ein, int abtastrate, int kanaele,
                                             std::vector<std::uint8_t> schonGelesen = {});
// A WAV file arriving through a stream (a pipe), read as it comes: PCM of 8, 16,
// 24 or 32 bits and float of 32 or 64 bits. `schonGelesen` holds the first bytes
// already taken from `ein`. An unreadable header is a std::runtime_error.
std::unique_ptr<AudioQuelle> wavStromOeffnen(std::FILE* ein, std::vector<std::uint8_t> schonGelesen);
// Standard input: a WAV file when it starts with a RIFF header, else raw 16-bit
// samples at `abtastrate` (which must then be given, > 0).
std::unique_ptr<AudioQuelle> eingabeOeffnen(std::FILE* ein, int abtastrate, int kanaele);
// Interleaved samples already in memory.
std::unique_ptr<AudioQuelle> speicherQuelle(std::vector<std::int16_t> samples, int abtastrate, int kanaele);

// 11025, 22050 or 44100 Hz, whichever is nearest to `abtastrate`.
int naechsteErfassungsrate(int abtastrate);
// The source itself when it runs at a capture rate, else a resampler over it.
std::unique_ptr<AudioQuelle> aufErfassungsrate(std::unique_ptr<AudioQuelle> quelle);

// Appends interleaved 16-bit samples of 1 or 2 channels as unsigned 8-bit stereo
// frames: the high byte keeps the sign; a mono source goes to the left channel.
void nachAchtBitStereo(const std::int16_t* samples, std::size_t frames, int kanaele, std::vector<std::uint8_t>& stereo);

}  // namespace tonwerk::werkzeug
