// Why a SIP call ended, as the CAPI 2.0 reason the call monitor translates
// into its "Rufbehandlung: " text (0x3480 + Q.850 cause for network causes).
#pragma once

#include <cstdint>
#include <string_view>

namespace rufpilot {

inline constexpr std::uint16_t kGrundAufgelegt = 0x3490;        // normal clearing by the caller
inline constexpr std::uint16_t kGrundAndersAngenommen = 0x349A;  // answered at another phone
inline constexpr std::uint16_t kGrundSelbstBeendet = 0x3400;     // we cleared it

// A CANCEL's Reason header value (one or more, comma-separated, e.g.
// `SIP;cause=200;text="Call completed elsewhere"` or `Q.850;cause=16`). A
// Q.850 cause wins over a SIP one; without a usable Reason the caller hung up.
std::uint16_t GrundAusReason(std::string_view reason);

// The end of a call-back that was never answered, from the final response.
std::uint16_t GrundAusStatus(int status);

}  // namespace rufpilot
