// Reading fetched CAPI 2.0 messages. Only the bytes delivered are read, and of
// those only as many as the header's total length covers; fields beyond read
// as 0, so a short or garbled message gives shorter values, never a fault.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace rufpilot {

struct CapiKopf {
    std::int16_t laenge = 0;  // as stated in the message
    std::uint16_t applId = 0;
    std::uint8_t befehl = 0;
    std::uint8_t unterbefehl = 0;
    std::uint16_t nummer = 0;
};

// The header, or nothing when fewer than 8 bytes arrived.
std::optional<CapiKopf> KopfLesen(std::span<const std::uint8_t> nachricht);

// The parameter area: from offset 8 up to the stated total length, cut at the
// bytes delivered; empty when the stated length is below 8.
std::span<const std::uint8_t> ParameterLesen(std::span<const std::uint8_t> nachricht);

// An incoming call: PLCI, CIP value and the number area (the parameter bytes
// after them, at most 100, one char per byte, every byte value kept).
struct Eingangsruf {
    std::uint32_t plci = 0;
    std::uint16_t cip = 0;
    std::string nummernbereich;
};
inline constexpr std::size_t kNummernbereichMax = 100;
Eingangsruf ConnectIndLesen(std::span<const std::uint8_t> nachricht);

// The end of a call: PLCI and the network's reason.
struct Abbauanzeige {
    std::uint32_t plci = 0;
    std::int16_t grund = 0;
};
Abbauanzeige DisconnectIndLesen(std::span<const std::uint8_t> nachricht);

// A confirmation: the address dword and the Info word after it (0 = accepted).
struct Bestaetigung {
    std::uint32_t adresse = 0;
    std::uint16_t info = 0;
};
Bestaetigung BestaetigungLesen(std::span<const std::uint8_t> nachricht);

}  // namespace rufpilot
