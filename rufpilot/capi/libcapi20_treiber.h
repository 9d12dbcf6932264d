// The CAPI driver over libcapi20 (a local CAPI device or a remote CAPI server
// named in ~/.capi20rc or /etc/capi20.conf).
//
// Constructing it ignores SIGPIPE for the whole process: a put after a remote
// server closed the connection would otherwise kill the program. It also turns
// off the library's trace lines on stderr.
#pragma once

#include "rufpilot/capi/capi_treiber.h"

namespace rufpilot {

class Libcapi20Treiber : public CapiTreiber {
public:
    Libcapi20Treiber();

    bool vorhanden(std::string& gesucht) override;
    std::uint32_t registrieren(std::uint32_t pufferGroesse, std::uint32_t maxVerbindungen,
                               std::uint32_t maxB3Bloecke, std::uint32_t maxB3Laenge) override;
    unsigned senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) override;
    // Never blocks: fetches only when a message is ready. A ready connection
    // without a message means the server closed it: kCapiVerbindungVerloren.
    unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) override;
    void freigeben(std::uint32_t applId) override;

    // The descriptor that becomes readable when a message arrives (-1 if none).
    static int descriptor(std::uint32_t applId);
};

}  // namespace rufpilot
