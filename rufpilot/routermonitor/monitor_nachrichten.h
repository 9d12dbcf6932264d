// The CAPI 2.0 messages a call monitor line turns into, shaped as a CAPI
// driver delivers them, so the call monitor reads them like an ISDN call.
#pragma once

#include <cstdint>
#include <string_view>

#include "rufpilot/capi/capi_nachrichten.h"

namespace rufpilot {

// CONNECT_IND for speech: Called party number `msn`; Calling party number
// `anrufer`, or for an empty `anrufer` a suppressed number of unknown type.
CapiNachricht MonitorConnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                                std::string_view msn, std::string_view anrufer);

// DISCONNECT_IND with the network's reason.
CapiNachricht MonitorDisconnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                                   std::uint16_t grund);

// The confirmation of a request: same command and number, address and Info.
CapiNachricht MonitorConf(std::uint16_t applId, std::uint8_t befehl, std::uint16_t nummer, std::uint32_t adresse,
                          std::uint16_t info);

}  // namespace rufpilot
