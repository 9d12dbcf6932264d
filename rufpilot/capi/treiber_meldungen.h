// The CAPI 2.0 messages a driver that stands in for a CAPI line (SIP, the
// router's call monitor) delivers: indications of what happened on the line
// and confirmations of requests.
#pragma once

#include <cstdint>
#include <string_view>

#include "rufpilot/capi/capi_nachrichten.h"

namespace rufpilot {

// CONNECT_IND: PLCI, CIP speech, then the number area.
CapiNachricht TreiberConnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                            std::string_view nummernbereich);
// DISCONNECT_IND (14 bytes) with the reason.
CapiNachricht TreiberDisconnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci, std::uint16_t grund);
// CONNECT_ACTIVE_IND (15 bytes: PLCI, empty connected number).
CapiNachricht TreiberConnectActiveInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci);
// Any confirmation (14 bytes): the request's message number, address, Info.
CapiNachricht TreiberBestaetigung(std::uint16_t applId, std::uint8_t befehl, std::uint16_t nummer, std::uint32_t adresse,
                              std::uint16_t info);

}  // namespace rufpilot
