// The CAPI 2.0 driver as the call monitor uses it: register, put and fetch
// whole messages, release. Implemented over libcapi20 and by a simulated line.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rufpilot {

// CAPI 2.0 result codes the monitor tells apart.
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
    // Lets a driver with a protocol stack of its own (SIP) answer the network
    // between two holen() calls; hosts call it every few tens of milliseconds.
    virtual void pumpen() {}
    // A call that another driver reported (its CONNECT_IND), for a driver that
    // places the call-backs to it: the CONNECT_REQ carries the caller's
    // number padded or cut to 12 digits, the full number is learnt here.
    virtual void anrufVernommen(std::span<const std::uint8_t> /*connectInd*/) {}
};

}  // namespace rufpilot
