// The one 44-byte RIFF/WAVE header of the system (PCM, little-endian). The
// transmit files use it for 8-bit mono at 11025 Hz, the radio recording for
// 8-bit stereo at the capture rate.
#pragma once

#include <array>
#include <cstdint>

namespace tonwerk {

inline constexpr std::size_t kWavKopfGroesse = 44;

// Header for `datenBytes` bytes of sample data: RIFF size datenBytes + 36,
// byte rate and block alignment derived from the format.
std::array<std::uint8_t, kWavKopfGroesse> WavKopf(std::uint32_t datenBytes, std::uint16_t kanaele = 1,
                                                  std::uint32_t abtastrate = 11025,
                                                  std::uint16_t bitsJeProbe = 8);

}  // namespace tonwerk
