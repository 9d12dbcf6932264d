// The CONNECT_IND a call monitor RING line turns into, shaped as a CAPI driver
// delivers it, so the call monitor reads it like an ISDN call.
#pragma once

#include <cstdint>
#include <string_view>

#include "rufpilot/capi/treiber_meldungen.h"

namespace rufpilot {

// CONNECT_IND for speech: Called party number `msn`; Calling party number
// `anrufer`, or for an empty `anrufer` a suppressed number of unknown type.
CapiNachricht MonitorConnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                                std::string_view msn, std::string_view anrufer);

}  // namespace rufpilot
