// Little-endian fields of CAPI 2.0 messages. Reading never goes past the bytes
// at hand: missing bytes read as 0, so a cut message yields shorter values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rufpilot {

inline std::uint32_t LeLesen(std::span<const std::uint8_t> d, std::size_t offset, std::size_t breite) {
    std::uint32_t wert = 0;
    for (std::size_t i = 0; i < breite; ++i) {
        if (offset + i < d.size()) wert |= static_cast<std::uint32_t>(d[offset + i]) << (8 * i);
    }
    return wert;
}

inline std::uint16_t Le16(std::span<const std::uint8_t> d, std::size_t offset) {
    return static_cast<std::uint16_t>(LeLesen(d, offset, 2));
}

inline std::uint32_t Le32(std::span<const std::uint8_t> d, std::size_t offset) { return LeLesen(d, offset, 4); }

inline void LeSchreiben(std::vector<std::uint8_t>& d, std::size_t offset, std::uint32_t wert, std::size_t breite) {
    if (d.size() < offset + breite) d.resize(offset + breite);
    for (std::size_t i = 0; i < breite; ++i) d[offset + i] = static_cast<std::uint8_t>(wert >> (8 * i));
}

}  // namespace rufpilot
