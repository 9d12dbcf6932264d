// The call monitor's driver over SIP: Rufpilot registers as an IP phone at
// the router and translates SIP into the CAPI 2.0 messages the monitor
// already handles, and back. An incoming INVITE becomes a CONNECT_IND, the
// monitor's Reject 1 a "486 Busy Here" (a 4xx, so a forking router lets the
// other phones ring on), a CANCEL a DISCONNECT_IND with the fitting reason;
// the call-back's CONNECT_REQ becomes an INVITE, its DISCONNECT_REQ a CANCEL,
// and an answered call-back is ended with BYE at once.
//
// Single-threaded: the stack runs only inside holen() and pumpen(), on the
// caller's thread, so the core needs neither Qt nor threads.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/capi_treiber.h"
#include "rufpilot/config/rufquelle.h"

namespace rufpilot {

struct SipOptionen {
    // Where the stack listens; "*" = every address, port "*" = any free one
    // (the registration tells the router where we are).
    std::string lokal = "sip:*:*";
    int ablaufSekunden = 600;  // the registration's Expires
    // Register at the registrar; off only where calls reach us unregistered.
    bool anmelden = true;
    // A failed registration (the library does not retry) is tried again after this.
    std::int64_t wiederholungMs = 30000;
    // Registration state changes as message lines ("SIP angemeldet:" ...).
    std::function<void(const std::string&)> meldung;
};

class SipTreiber : public CapiTreiber {
public:
    SipTreiber(SipKonto konto, SipOptionen optionen);
    ~SipTreiber() override;
    SipTreiber(const SipTreiber&) = delete;
    SipTreiber& operator=(const SipTreiber&) = delete;

    // CapiTreiber
    bool vorhanden(std::string& gesucht) override;
    // Starts the stack (and the registration); 0 when it cannot listen.
    std::uint32_t registrieren(std::uint32_t pufferGroesse, std::uint32_t maxVerbindungen,
                               std::uint32_t maxB3Bloecke, std::uint32_t maxB3Laenge) override;
    unsigned senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) override;
    unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) override;
    // Un-registers and stops the stack (waits up to a few seconds for that).
    void freigeben(std::uint32_t applId) override;

    // Lets the stack do what is pending without blocking; holen() does this
    // too, but the monitor's tick is too slow for SIP's timers and replies.
    void pumpen() override;
    void anrufVernommen(std::span<const std::uint8_t> connectInd) override;
    bool angemeldet() const;
    // The port the stack listens on, 0 until it is known.
    std::uint16_t port() const;
    // Messages waiting for holen().
    std::size_t wartend() const;

    struct Stapel;  // the SIP stack and the calls in flight

private:
    std::unique_ptr<Stapel> s_;
};

// The SIP source for the call monitor.
std::unique_ptr<CapiTreiber> sipTreiberErzeugen(const SipKonto& konto, SipOptionen optionen = {});

}  // namespace rufpilot
