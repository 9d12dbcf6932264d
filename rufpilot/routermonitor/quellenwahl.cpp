#include "rufpilot/routermonitor/quellenwahl.h"

#include "rufpilot/routermonitor/rueckruf_weiche.h"

namespace rufpilot {

namespace {

// A source this program cannot offer: the monitor reports it missing.
class FehlendeQuelle : public Anrufquelle {
public:
    explicit FehlendeQuelle(std::string warum) : warum_(std::move(warum)) {}
    bool vorhanden(std::string& gesucht) override {
        gesucht = warum_;
        return false;
    }
    bool starten() override { return false; }
    void stoppen() override {}
    bool verbunden() const override { return false; }
    Anrufereignisse schritt() override { return {}; }
    void weiterklingeln(AnrufId) override {}
    Waehlergebnis waehlen(const std::string&, const std::string&) override { return {std::nullopt, warum_}; }
    void auflegen(AnrufId) override {}

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

std::unique_ptr<Anrufquelle> rufquelleBauen(const Quelleneinstellungen& quelle, const Quellenbau& bau) {
    switch (quelle.art) {
        case Quellenart::Sip:
            if (!bau.sip) return std::make_unique<FehlendeQuelle>("SIP ist in diesem Programm noch nicht verfügbar");
            if (!quelle.sip.eingerichtet()) return std::make_unique<FehlendeQuelle>("SIP: kein Konto eingerichtet");
            return bau.sip(quelle.sip);
        case Quellenart::Anrufmonitor: {
            if (quelle.monitorHost.empty())
                return std::make_unique<FehlendeQuelle>("Anrufmonitor: kein Router eingetragen");
            auto monitor =
                std::make_unique<AnrufmonitorTreiber>(quelle.monitorHost, quelle.monitorPort, bau.uhr, bau.zeiten);
            if (!bau.sip || !quelle.sip.eingerichtet()) return monitor;
            return std::make_unique<RueckrufWeiche>(std::move(monitor), bau.sip(quelle.sip));
        }
        case Quellenart::Capi: break;
    }
    return bau.capi();
}

}  // namespace rufpilot
