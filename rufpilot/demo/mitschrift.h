// A driver in front of another that keeps every message the gateway puts, in
// the simulated line's form, so the demo checks the answers of any source
// the same way.
#pragma once

#include <memory>

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/simulierte_leitung.h"

namespace rufpilot {

class MitschreibenderTreiber : public CapiTreiber {
public:
    explicit MitschreibenderTreiber(std::unique_ptr<CapiTreiber> innen) : besitz_(std::move(innen)), innen_(*besitz_) {}
    // Without taking ownership.
    explicit MitschreibenderTreiber(CapiTreiber& innen) : innen_(innen) {}

    const std::vector<SimulierteLeitung::Gesendet>& gesendet() const { return gesendet_; }

    bool vorhanden(std::string& gesucht) override { return innen_.vorhanden(gesucht); }
    std::uint32_t registrieren(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) override {
        return innen_.registrieren(a, b, c, d);
    }
    unsigned senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) override {
        if (const auto k = KopfLesen(nachricht))
            gesendet_.push_back({{nachricht.begin(), nachricht.end()}, applId, k->befehl, k->unterbefehl, k->nummer,
                                 Le32(nachricht, 8)});
        return innen_.senden(applId, nachricht);
    }
    unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) override {
        return innen_.holen(applId, nachricht);
    }
    void freigeben(std::uint32_t applId) override { innen_.freigeben(applId); }
    void pumpen() override { innen_.pumpen(); }
    void anrufVernommen(std::span<const std::uint8_t> connectInd) override { innen_.anrufVernommen(connectInd); }

private:
    std::unique_ptr<CapiTreiber> besitz_;
    CapiTreiber& innen_;
    std::vector<SimulierteLeitung::Gesendet> gesendet_;
};

}  // namespace rufpilot
