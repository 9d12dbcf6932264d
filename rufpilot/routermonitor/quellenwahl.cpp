#include "rufpilot/routermonitor/quellenwahl.h"

#include "rufpilot/routermonitor/rueckruf_weiche.h"

namespace rufpilot {

namespace {

// A source this program cannot offer: the monitor reports it missing.
class FehlendeQuelle : public CapiTreiber {
public:
    explicit FehlendeQuelle(std::string warum) : warum_(std::move(warum)) {}
    bool vorhanden(std::string& gesucht) override {
        gesucht = warum_;
        return false;
    }
    std::uint32_t registrieren(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) override { return 0; }
    unsigned senden(std::uint32_t, std::span<const std::uint8_t>) override { return 0x1101; }
    unsigned holen(std::uint32_t, std::vector<std::uint8_t>&) override { return 0x1101; }
    void freigeben(std::uint32_t) override {}

private:
    std::string warum_;
};

}  // namespace

std::string quellenName(Quellenart art) {
    switch (art) {
        case Quellenart::Sip: return "SIP";
        case Quellenart::Anrufmonitor: return "Anrufmonitor des Routers";
        case Quellenart::Capi: break;
    }
    return "CAPI 2.0";
}

std::unique_ptr<CapiTreiber> rufquelleBauen(const Quelleneinstellungen& quelle, const Quellenbau& bau) {
    switch (quelle.art) {
        case Quellenart::Sip:
            if (!bau.sip) return std::make_unique<FehlendeQuelle>("SIP ist in diesem Programm noch nicht verfügbar");
            if (!quelle.sip.eingerichtet()) return std::make_unique<FehlendeQuelle>("SIP: kein Konto eingerichtet");
            return bau.sip(quelle.sip);
        case Quellenart::Anrufmonitor: {
            if (quelle.monitorHost.empty())
                return std::make_unique<FehlendeQuelle>("Anrufmonitor: kein Router eingetragen");
            auto monitor = std::make_unique<AnrufmonitorTreiber>(quelle.monitorHost, quelle.monitorPort, bau.uhr,
                                                                 bau.meldung, bau.zeiten);
            if (!bau.sip || !quelle.sip.eingerichtet()) return monitor;
            return std::make_unique<RueckrufWeiche>(std::move(monitor), AnrufmonitorTreiber::kController,
                                                    bau.sip(quelle.sip), bau.meldung);
        }
        case Quellenart::Capi: break;
    }
    return bau.capi();
}

}  // namespace rufpilot
