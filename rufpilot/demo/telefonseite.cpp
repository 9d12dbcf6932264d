#include "rufpilot/demo/telefonseite.h"

#include <poll.h>

#include <chrono>
#include <functional>
#include <stdexcept>

#include "rufpilot/demo/mitschrift.h"
#include "rufpilot/demo/monitor_gegenstelle.h"
#include "rufpilot/demo/sip_gegenstelle.h"
#include "rufpilot/routermonitor/anrufmonitor_treiber.h"
#include "rufpilot/routermonitor/rueckruf_weiche.h"
#include "rufpilot/sip/sip_treiber.h"

namespace rufpilot {

namespace {

class IsdnSeite : public Telefonseite {
public:
    void anrufen(SimulierteWelt& w, const std::string& anruferStruct, const std::string& msn, bool auflegen) override {
        plci_ += 0x0100;
        w.leitung.connectInd(plci_, msn, anruferStruct);
        if (auflegen) w.leitung.disconnectInd(plci_, 0x3490);
    }
    const std::vector<SimulierteLeitung::Gesendet>& gesendet(SimulierteWelt& w) const override {
        return w.leitung.gesendet();
    }
    bool zumAnruf(std::uint32_t adresse) const override { return adresse == plci_; }
    std::string beschreibung() const override { return "simulierte ISDN-Leitung"; }

private:
    std::uint32_t plci_ = 0x0001;
};

class MonitorSeite : public Telefonseite {
public:
    SimulierteWelt::Quellenbau quellenbau() override {
        return [this](SimulierteWelt& w) -> std::unique_ptr<CapiTreiber> {
            const auto meldung = [&w](const std::string& text) { w.anwendung.vermittlung().MeldungSchreiben(text); };
            auto monitor = std::make_unique<AnrufmonitorTreiber>(
                "127.0.0.1", router_.port(), [&w] { return w.zeit.monotonMs(); }, meldung);
            monitor_ = monitor.get();
            auto weiche = std::make_unique<RueckrufWeiche>(std::move(monitor), AnrufmonitorTreiber::kController,
                                                           std::make_unique<MitschreibenderTreiber>(w.leitung), meldung);
            auto mitschrift = std::make_unique<MitschreibenderTreiber>(std::move(weiche));
            mitschrift_ = mitschrift.get();
            return mitschrift;
        };
    }
    void verbunden(SimulierteWelt&) override { router_.annehmen(); }
    void anrufen(SimulierteWelt&, const std::string& anruferStruct, const std::string& msn, bool auflegen) override {
        // A restricted presentation leaves the caller field empty.
        const bool unterdrueckt = anruferStruct.size() >= 2 && (anruferStruct[1] & 0x60) == 0x20;
        const std::string anrufer = unterdrueckt || anruferStruct.size() < 2 ? "" : anruferStruct.substr(2);
        const std::string id = std::to_string(id_++);
        std::string zeilen = "08.12.26 10:00:00;RING;" + id + ";" + anrufer + ";" + msn + ";SIP0;\r\n";
        if (auflegen) zeilen += "08.12.26 10:00:01;DISCONNECT;" + id + ";0;\r\n";
        router_.schreiben(zeilen);
        // The gateway fetches on its ticks; the lines must be there by then.
        pollfd p{monitor_->socket(), POLLIN, 0};
        if (::poll(&p, 1, 10000) != 1) throw std::runtime_error("Anrufmonitor: die Zeilen kommen nicht an");
    }
    const std::vector<SimulierteLeitung::Gesendet>& gesendet(SimulierteWelt&) const override {
        return mitschrift_->gesendet();
    }
    bool zumAnruf(std::uint32_t adresse) const override {
        // The driver numbers its calls itself: the last one's address is the
        // newest on the monitor's controller.
        std::uint32_t letzte = 0;
        for (const auto& g : mitschrift_->gesendet())
            if ((g.adresse & 0x7F) == AnrufmonitorTreiber::kController && g.adresse > letzte) letzte = g.adresse;
        return adresse == letzte;
    }
    std::string beschreibung() const override {
        return "Anrufmonitor auf 127.0.0.1:" + std::to_string(router_.port());
    }

private:
    MonitorGegenstelle router_;
    AnrufmonitorTreiber* monitor_ = nullptr;
    MitschreibenderTreiber* mitschrift_ = nullptr;
    int id_ = 0;
};

// Keeps, besides what the gateway puts, the address of the call reported last.
class AnrufMitschrift : public MitschreibenderTreiber {
public:
    using MitschreibenderTreiber::MitschreibenderTreiber;
    unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) override {
        const unsigned ergebnis = MitschreibenderTreiber::holen(applId, nachricht);
        const auto kopf = ergebnis == 0 ? KopfLesen(nachricht) : std::nullopt;
        if (kopf && kopf->befehl == capi::kConnect && kopf->unterbefehl == capi::kInd) letzter = Le32(nachricht, 8);
        return ergebnis;
    }
    std::uint32_t letzter = 0;
};

class SipSeite : public Telefonseite {
public:
    SimulierteWelt::Quellenbau quellenbau() override {
        return [this](SimulierteWelt& w) -> std::unique_ptr<CapiTreiber> {
            SipOptionen o;
            o.lokal = "sip:127.0.0.1:0";
            o.meldung = [&w](const std::string& text) { w.anwendung.vermittlung().MeldungSchreiben(text); };
            auto sip = std::make_unique<SipTreiber>(SipKonto{router_->adresse(), kBenutzer, kPasswort}, std::move(o));
            sip_ = sip.get();
            auto mitschrift = std::make_unique<AnrufMitschrift>(std::move(sip));
            mitschrift_ = mitschrift.get();
            return mitschrift;
        };
    }
    void verbunden(SimulierteWelt& w) override {
        warten([this] { return router_->angemeldet() && sip_->angemeldet(); }, "die Anmeldung kommt nicht durch");
        // Both stacks run on the demo's timer, as the window's pump timer runs the gateway's.
        w.zeit.timer().aktivieren(20, [this] { pumpen(); });
    }
    void anrufen(SimulierteWelt&, const std::string& anruferStruct, const std::string& msn, bool auflegen) override {
        const bool unterdrueckt = anruferStruct.size() >= 2 && (anruferStruct[1] & 0x60) == 0x20;
        const std::string anrufer = unterdrueckt || anruferStruct.size() < 2 ? "" : anruferStruct.substr(2);
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
    const std::vector<SimulierteLeitung::Gesendet>& gesendet(SimulierteWelt&) const override {
        return mitschrift_->gesendet();
    }
    bool zumAnruf(std::uint32_t adresse) const override { return adresse == mitschrift_->letzter; }
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
    AnrufMitschrift* mitschrift_ = nullptr;
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
