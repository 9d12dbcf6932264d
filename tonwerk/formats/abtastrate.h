// The three sample rates the capture runs at, numbered as the Samplerates
// property counts them: 0 = 11025, 1 = 22050, 2 = 44100 Hz.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace tonwerk {

inline constexpr std::array<std::int32_t, 3> kAbtastraten{11025, 22050, 44100};

// Number (0, 1 or 2) of a capture rate; none for any other rate.
std::optional<int> AbtastrateStufe(std::int32_t abtastrate);

// The rate the decoders work at: a capture rate stays, any other counts as 11025 Hz.
inline std::int32_t NormaleAbtastrate(std::int32_t abtastrate) {
    return kAbtastraten[static_cast<std::size_t>(AbtastrateStufe(abtastrate).value_or(0))];
}

}  // namespace tonwerk
