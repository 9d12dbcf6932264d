// The CAPI 2.0 driver as the ISDN call source uses it: register, put and fetch
// whole messages, release. Implemented over libcapi20 and by a simulated line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rufpilot {

// CAPI 2.0 result codes the source tells apart.
inline constexpr unsigned kCapiFalscheApplId = 0x1101;
inline constexpr unsigned kCapiFalscheNachricht = 0x1102;
inline constexpr unsigned kCapiWarteschlangeLeer = 0x1104;
// The driver's connection is gone (the remote CAPI server closed it).
inline constexpr unsigned kCapiVerbindungVerloren = 0x1108;

class CapiTreiber {
public:
    virtual ~CapiTreiber() = default;
    // True when a CAPI 2.0 driver answers; `gesucht` names what was looked for
    // (shown after "Capi nicht vorhanden").
    virtual bool vorhanden(std::string& gesucht) = 0;
    // CAPI_REGISTER; returns the application id (0 when registration failed).
    virtual std::uint32_t registrieren(std::uint32_t pufferGroesse, std::uint32_t maxVerbindungen,
                                       std::uint32_t maxB3Bloecke, std::uint32_t maxB3Laenge) = 0;
    // CAPI_PUT_MESSAGE; 0 = accepted.
    virtual unsigned senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) = 0;
    // CAPI_GET_MESSAGE without blocking: 0 = one message copied into `nachricht`,
    // kCapiWarteschlangeLeer = nothing pending, anything else = an error.
    virtual unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) = 0;
    // CAPI_RELEASE.
    virtual void freigeben(std::uint32_t applId) = 0;
};

}  // namespace rufpilot
