// One run of equal sign in the 8-bit capture audio: the only input of the decoders.
#pragma once

#include <cstdint>
#include <span>

namespace tonwerk {

struct Halbwelle {
    std::int16_t Laenge = 0;  // samples
    std::int16_t Pegel = 0;   // 0 below the zero line (128), 128 at or above it
};

using Laeufe = std::span<const Halbwelle>;

}  // namespace tonwerk
