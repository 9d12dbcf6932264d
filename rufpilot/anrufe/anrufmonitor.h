// The ISDN call monitor: registers with CAPI, listens for every incoming call
// on controller 1, and on each host timer tick fetches and handles one message.
// An incoming call is logged, handed to the matcher and then ignored (Reject 1),
// so it rings on at the other terminals. It also dials the call-back and
// clears it again after a bounded ring time.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/capi_treiber.h"
#include "rufpilot/capi/rueckrufe.h"
#include "rufpilot/dispatch/waehler.h"

namespace rufpilot {

class Anrufmonitor : public Waehler {
public:
    using MeldungSchreiben = std::function<void(const std::string& meldung)>;
    // May wait and let events run: CapiAbfrage then runs nested inside it.
    using RufPruefen = std::function<void(const std::string& anrufer, const std::string& msn)>;
    // Monotonic milliseconds.
    using Uhr = std::function<std::int64_t()>;

    static constexpr std::int64_t kKlingeldauerMs = 20000;

    Anrufmonitor(CapiTreiber& treiber, MeldungSchreiben meldung, RufPruefen rufPruefen, Uhr uhr);

    bool vorhanden(std::string& gesucht) { return treiber_.vorhanden(gesucht); }
    // Registers and listens; false (with a message line) when registration failed.
    bool CapiStart();
    void CapiStop();
    // Fetches and handles at most one message; first clears call-backs that
    // have rung long enough.
    void CapiAbfrage();
    // Puts the call-back's CONNECT_REQ.
    void waehlen(const std::string& nummer, const std::string& msn) override;

    std::uint32_t applId() const { return applId_; }
    std::uint32_t nachrichtenzaehler() const { return nachrichtenzaehler_; }
    void klingeldauerSetzen(std::int64_t ms) { klingeldauerMs_ = ms; }
    std::size_t offeneRueckrufe() const { return rueckrufe_.offen(); }
    // False while the driver reports its connection lost (a remote CAPI
    // server, the router's call monitor).
    bool verbunden() const { return verbunden_; }

private:
    void anrufBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    void ausloesungBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    void verbundenBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    void bestaetigungBehandeln(const CapiKopf& kopf, std::span<const std::uint8_t> nachricht);
    void rueckrufAbbauen(const Rueckrufe::Abbau& abbau);
    void senden(const CapiNachricht& nachricht);
    void melden(const std::string& meldung);
    std::uint16_t id() const { return static_cast<std::uint16_t>(applId_); }

    CapiTreiber& treiber_;
    MeldungSchreiben meldung_;
    RufPruefen rufPruefen_;
    Uhr uhr_;
    std::uint32_t applId_ = 0;
    std::uint32_t nachrichtenzaehler_ = 0;
    std::int64_t klingeldauerMs_ = kKlingeldauerMs;
    Rueckrufe rueckrufe_;
    bool abholfehlerGemeldet_ = false;
    bool verbunden_ = true;
};

}  // namespace rufpilot
