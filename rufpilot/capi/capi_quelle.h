// The ISDN line as a call source, through a CAPI 2.0 driver: registers,
// listens for every incoming call on controller 1 and fetches one message per
// tick. It keeps all of CAPI to itself: each incoming call's PLCI and message
// number (so the answer is right even when a second call was handled inside
// the first one's matcher), the call-backs' message numbers and the PLCIs
// their CONNECT_CONF assigns, and the responses every indication needs.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "rufpilot/anrufe/anrufquelle.h"
#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/capi_treiber.h"

namespace rufpilot {

class CapiQuelle : public Anrufquelle {
public:
    explicit CapiQuelle(CapiTreiber& treiber) : treiber_(treiber) {}
    explicit CapiQuelle(std::unique_ptr<CapiTreiber> treiber) : besitz_(std::move(treiber)), treiber_(*besitz_) {}

    bool vorhanden(std::string& gesucht) override { return treiber_.vorhanden(gesucht); }
    // CAPI_REGISTER and LISTEN_REQ.
    bool starten() override;
    void stoppen() override;
    // False while the driver reports its connection lost (a remote CAPI server).
    bool verbunden() const override { return verbunden_; }
    // Fetches and handles at most one message.
    Anrufereignisse schritt() override;
    bool antwortNachAbgleich() const override { return true; }
    // ALERT_REQ and CONNECT_RESP with Reject 1 on the call's own PLCI and
    // message number.
    void weiterklingeln(AnrufId id) override;
    // CONNECT_REQ with the number and MSN as given.
    Waehlergebnis waehlen(const std::string& nummer, const std::string& msn) override;
    // DISCONNECT_REQ on the call-back's PLCI, as soon as its CONNECT_CONF gave one.
    void auflegen(AnrufId id) override;

    std::uint32_t applId() const { return applId_; }
    std::uint32_t nachrichtenzaehler() const { return nachrichtenzaehler_; }

private:
    struct Eingehend {
        AnrufId id;
        std::uint32_t plci;
        std::uint16_t nummer;  // the CONNECT_IND's message number
    };
    struct Rueckruf {
        AnrufId id;
        std::uint16_t nummer;  // the CONNECT_REQ's message number
        std::optional<std::uint32_t> plci;
        bool abbauen = false;   // asked to clear before the PLCI was known
        bool abgebaut = false;  // DISCONNECT_REQ put
    };

    std::optional<Anrufereignis> nachricht();
    Eingang eingang(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    Ende ende(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    std::optional<Anrufereignis> verbunden(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    std::optional<Anrufereignis> bestaetigung(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    void abbauen(Rueckruf& r);
    void senden(const CapiNachricht& nachricht);
    std::uint16_t id() const { return static_cast<std::uint16_t>(applId_); }
    AnrufId neueId();

    // A driver that never confirms must not let the list grow without bound.
    static constexpr std::size_t kRueckrufeHoechstens = 16;

    std::unique_ptr<CapiTreiber> besitz_;
    CapiTreiber& treiber_;
    std::uint32_t applId_ = 0;
    std::uint32_t nachrichtenzaehler_ = 0;
    AnrufId naechsteId_ = 1;
    std::deque<Eingehend> eingehend_;
    std::deque<Rueckruf> rueckrufe_;
    bool abholfehlerGemeldet_ = false;
    bool verbunden_ = true;
};

}  // namespace rufpilot
