// The IP phone account as a call source: Rufpilot registers as an IP phone at
// the router. An incoming INVITE is a call that came in; letting it ring on
// is a "486 Busy Here" (a 4xx, so a forking router lets the other phones ring
// on); a CANCEL ends it with the reason its Reason header gives. A call-back
// is an INVITE to exactly the number asked for, hanging it up a CANCEL, and
// an answered call-back is ended with BYE at once.
//
// Single-threaded: the stack runs only inside schritt() and pumpen(), on the
// caller's thread, so the core needs neither Qt nor threads.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "rufpilot/anrufe/anrufquelle.h"
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

class SipTreiber : public Anrufquelle {
public:
    SipTreiber(SipKonto konto, SipOptionen optionen);
    ~SipTreiber() override;
    SipTreiber(const SipTreiber&) = delete;
    SipTreiber& operator=(const SipTreiber&) = delete;

    // Anrufquelle
    bool vorhanden(std::string& gesucht) override;
    // Starts the stack (and the registration); false when it cannot listen.
    bool starten() override;
    // Un-registers and stops the stack (waits up to a few seconds for that).
    void stoppen() override;
    // Registered (or running without registration).
    bool verbunden() const override;
    Anrufereignisse schritt() override;
    // Lets the stack do what is pending without blocking; schritt() does this
    // too, but the monitor's tick is too slow for SIP's timers and replies.
    void pumpen() override;
    void weiterklingeln(AnrufId id) override;
    Waehlergebnis waehlen(const std::string& nummer, const std::string& msn) override;
    void auflegen(AnrufId id) override;
    void meldungenAn(MeldungSchreiben meldung) override;

    bool angemeldet() const;
    // The port the stack listens on, 0 until it is known.
    std::uint16_t port() const;
    // Events waiting for schritt().
    std::size_t wartend() const;

    struct Stapel;  // the SIP stack and the calls in flight

private:
    std::unique_ptr<Stapel> s_;
};

// The SIP source for the call monitor.
std::unique_ptr<Anrufquelle> sipTreiberErzeugen(const SipKonto& konto, SipOptionen optionen = {});

}  // namespace rufpilot
