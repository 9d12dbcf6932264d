// Tells once when the input is too quiet to decode anything. The reception
// filter brings every level to the same one and the raw path reads only the
// sign, so both decode down to the point where the sign of a 16-bit sample no
// longer follows the signal: peaks of a few steps, about -70 dBFS. Below that
// (a muted or unplugged input, a level control at zero) nothing would say why
// nothing comes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

class Pegelwaechter {
public:
    static constexpr double kGrenzeDbfs = -70.0;

    // Judges stretches of `sekunden` seconds of audio at `abtastrate`.
    Pegelwaechter(int abtastrate, int kanaele, double sekunden = 10.0);

    // Hears `frames` interleaved 16-bit frames. Returns the note the first
    // time a whole stretch stayed below the limit on every channel.
    std::optional<std::string> hoeren(const std::int16_t* samples, std::size_t frames);
    // The end of the input: a stretch cut short is judged too when it is the
    // whole input or at least a second long.
    std::optional<std::string> ende();

private:
    std::optional<std::string> urteilen();

    std::size_t strecke_;
    int kanaele_;
    double abtastrate_;
    std::size_t frames_ = 0;  // of the current stretch
    bool erste_ = true;       // the current stretch is the first
    bool gesagt_ = false;
    std::vector<std::int32_t> hoch_, tief_;  // per channel
};

}  // namespace tonwerk::werkzeug
