#include "rufpilot/demo/telefonseite.h"

#include <poll.h>

#include <chrono>
#include <functional>
#include <stdexcept>

#include "rufpilot/capi/ausloesegrund.h"
#include "rufpilot/capi/capi_quelle.h"
#include "rufpilot/demo/monitor_gegenstelle.h"
#include "rufpilot/demo/sip_gegenstelle.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"
#include "rufpilot/routermonitor/rueckruf_weiche.h"
#include "rufpilot/sip/sip_treiber.h"

namespace rufpilot {

namespace {

// The caller field a router writes for the ISDN struct of a demo call: empty
// for a suppressed number, a national number with its trunk prefix "0" (the
// router adds it where ISDN leaves it off).
std::string RouterAnrufer(const std::string& anruferStruct) {
    const bool unterdrueckt = anruferStruct.size() >= 2 && (anruferStruct[1] & 0x60) == 0x20;
    if (unterdrueckt || anruferStruct.size() < 2) return {};
    const std::string ziffern = anruferStruct.substr(2);
    return !ziffern.empty() && ziffern[0] >= '1' && ziffern[0] <= '9' ? "0" + ziffern : ziffern;
}

class IsdnSeite : public Telefonseite {
public:
    void anrufen(SimulierteWelt& w, const std::string& anruferStruct, const std::string& msn, bool auflegen) override {
        plci_ += 0x0100;
        w.leitung.connectInd(plci_, msn, anruferStruct);
        if (auflegen) w.leitung.disconnectInd(plci_, kCapiAufgelegt);
    }
    std::string beschreibung() const override { return "simulierte ISDN-Leitung"; }

private:
    std::uint32_t plci_ = 0x0001;
};

class MonitorSeite : public Telefonseite {
public:
    SimulierteWelt::Quellenbau quellenbau() override {
        return [this](SimulierteWelt& w) -> std::unique_ptr<Anrufquelle> {
            auto monitor =
                std::make_unique<AnrufmonitorTreiber>("127.0.0.1", router_.port(), [&w] { return w.zeit.monotonMs(); });
            monitor_ = monitor.get();
            return std::make_unique<RueckrufWeiche>(std::move(monitor), std::make_unique<CapiQuelle>(w.leitung));
        };
    }
    void verbunden(SimulierteWelt&) override { router_.annehmen(); }
    void anrufen(SimulierteWelt& w, const std::string& anruferStruct, const std::string& msn, bool auflegen) override {
        const std::string anrufer = RouterAnrufer(anruferStruct);
        const std::string id = std::to_string(id_++);
        schreiben("08.12.26 10:00:00;RING;" + id + ";" + anrufer + ";" + msn + ";SIP0;\r\n");
        if (!auflegen) return;
        // The caller hangs up once the gateway has the call, as on the ISDN
        // line, where the end comes a tick after the call.
        const AnrufId vorher = w.mitschrift.letzterEingang();
        SimulierteZeit::Timer& t = w.zeit.timer();
        t.aktivieren(100, [this, &w, &t, vorher, id] {
            if (w.mitschrift.letzterEingang() == vorher) return;
            t.deaktivieren();
            schreiben("08.12.26 10:00:01;DISCONNECT;" + id + ";0;\r\n");
        });
    }
    std::string beschreibung() const override {
        return "Anrufmonitor auf 127.0.0.1:" + std::to_string(router_.port());
    }

private:
    void schreiben(const std::string& zeilen) {
        router_.schreiben(zeilen);
        // The gateway fetches on its ticks; the lines must be there by then.
        pollfd p{monitor_->socket(), POLLIN, 0};
        if (::poll(&p, 1, 10000) != 1) throw std::runtime_error("Anrufmonitor: die Zeilen kommen nicht an");
    }

    MonitorGegenstelle router_;
    AnrufmonitorTreiber* monitor_ = nullptr;
    int id_ = 0;
};

class SipSeite : public Telefonseite {
public:
    SimulierteWelt::Quellenbau quellenbau() override {
        return [this](SimulierteWelt&) -> std::unique_ptr<Anrufquelle> {
            SipOptionen o;
            o.lokal = "sip:127.0.0.1:0";
            auto sip = std::make_unique<SipTreiber>(SipKonto{router_->adresse(), kBenutzer, kPasswort}, std::move(o));
            sip_ = sip.get();
            return sip;
        };
    }
    void verbunden(SimulierteWelt& w) override {
        warten([this] { return router_->angemeldet() && sip_->angemeldet(); }, "die Anmeldung kommt nicht durch");
        // Both stacks run on the demo's timer, as the window's pump timer runs the gateway's.
        w.zeit.timer().aktivieren(20, [this] { pumpen(); });
    }
    void anrufen(SimulierteWelt&, const std::string& anruferStruct, const std::string& msn, bool auflegen) override {
        const std::string anrufer = RouterAnrufer(anruferStruct);
        // The gateway fetches on its ticks; the call (and the hang-up) must
        // be queued by then.
        std::size_t vorher = sip_->wartend();
        router_->anrufen(anrufer, msn);
        warten([&] { return sip_->wartend() > vorher; }, "der Anruf kommt nicht an");
        if (!auflegen) return;
        vorher = sip_->wartend();
        router_->auflegen();
        warten([&] { return sip_->wartend() > vorher; }, "das Auflegen kommt nicht an");
    }
    void vorEnde(SimulierteWelt&) override {
        // Gone before the gateway un-registers: the refused datagram ends
        // that at once instead of after the stack's time-out.
        router_.reset();
    }
    std::string beschreibung() const override { return "SIP-Router auf " + router_->adresse(); }

private:
    void pumpen() {
        if (router_) router_->pumpen();
        sip_->pumpen();
    }
    // Pumps both stacks until `fertig`; the bound only ends a broken run.
    void warten(const std::function<bool()>& fertig, const char* was) {
        const auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!fertig()) {
            if (std::chrono::steady_clock::now() > ende) throw std::runtime_error(std::string("SIP: ") + was);
            pumpen();
            ::poll(nullptr, 0, 1);
        }
    }

    static constexpr const char* kBenutzer = "620";
    static constexpr const char* kPasswort = "rufpilot";
    std::unique_ptr<SipGegenstelle> router_ = std::make_unique<SipGegenstelle>(kBenutzer, kPasswort);
    SipTreiber* sip_ = nullptr;
};

}  // namespace

std::unique_ptr<Telefonseite> telefonseiteFuer(Quellenart quelle) {
    switch (quelle) {
        case Quellenart::Anrufmonitor: return std::make_unique<MonitorSeite>();
        case Quellenart::Sip: return std::make_unique<SipSeite>();
        case Quellenart::Capi: break;
    }
    return std::make_unique<IsdnSeite>();
}

}  // namespace rufpilot
