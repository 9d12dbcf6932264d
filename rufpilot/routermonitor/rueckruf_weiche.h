// Two drivers behind one: the call monitor reports the calls, a second driver
// (the IP phone account) places the call-backs. The call monitor above sees a
// single driver. CONNECT_REQ and everything addressed to a call-back goes to
// the second driver; LISTEN_REQ goes to both, in case the second one needs it
// to come up. Calls the second driver reports itself are let ring on (the
// monitor reports them already), so no call is handled twice. The second
// driver hears of every call the monitor reports (anrufVernommen), so that a
// call-back dials the caller's full number.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "rufpilot/capi/capi_treiber.h"

namespace rufpilot {

class RueckrufWeiche : public CapiTreiber {
public:
    using MeldungSchreiben = std::function<void(const std::string&)>;

    // `anrufe` addresses its calls on controller `anrufController`.
    RueckrufWeiche(std::unique_ptr<CapiTreiber> anrufe, std::uint32_t anrufController,
                   std::unique_ptr<CapiTreiber> rueckrufe, MeldungSchreiben meldung);

    bool vorhanden(std::string& gesucht) override;
    std::uint32_t registrieren(std::uint32_t pufferGroesse, std::uint32_t maxVerbindungen,
                               std::uint32_t maxB3Bloecke, std::uint32_t maxB3Laenge) override;
    unsigned senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) override;
    unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) override;
    void freigeben(std::uint32_t applId) override;
    void pumpen() override;

    CapiTreiber& anrufe() { return *anrufe_; }
    CapiTreiber& rueckrufe() { return *rueckrufe_; }

private:
    bool anRueckrufe(std::span<const std::uint8_t> nachricht) const;
    unsigned weitergeben(std::span<const std::uint8_t> nachricht);

    std::unique_ptr<CapiTreiber> anrufe_;
    std::uint32_t anrufController_;
    std::unique_ptr<CapiTreiber> rueckrufe_;
    MeldungSchreiben meldung_;
    std::uint32_t applId_ = 0;
    std::uint32_t rueckrufApplId_ = 0;
};

}  // namespace rufpilot
