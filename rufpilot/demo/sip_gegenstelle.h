// The router's side of an IP phone account on 127.0.0.1, for the demo and the
// tests: a sofia-sip user agent that takes the gateway's REGISTER (with a
// digest challenge when an account is given), rings the
// registered phone from any caller, hangs up (CANCEL) on request, and lets
// the gateway's call-backs ring (180) until they are cancelled. It runs only
// inside pumpen(), on the caller's thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace rufpilot {

class SipGegenstelle {
public:
    // Listens on 127.0.0.1 (a free port); with a `benutzer`, a REGISTER must
    // answer a digest challenge with that account. Throws std::runtime_error.
    explicit SipGegenstelle(std::string benutzer = {}, std::string passwort = {});
    ~SipGegenstelle();
    SipGegenstelle(const SipGegenstelle&) = delete;
    SipGegenstelle& operator=(const SipGegenstelle&) = delete;

    // "127.0.0.1:PORT", the registrar to configure.
    std::string adresse() const;
    // Runs what is pending without blocking.
    void pumpen();

    // Whether a phone is registered, and where it is ("sip:...").
    bool angemeldet() const { return !kontakt_.empty(); }
    // REGISTERs refused for a missing or wrong digest.
    int abgewiesen() const { return abgewiesen_; }
    const std::string& kontakt() const { return kontakt_; }
    // Sends the call from `anrufer` (empty: anonymous) to `msn` at `ziel`
    // (default: the registered contact).
    void anrufen(const std::string& anrufer, const std::string& msn, const std::string& ziel = {});
    // The caller hangs up: CANCEL of the call placed last.
    void auflegen();
    // The final status of the call placed last (0 while none came).
    int antwort() const { return antwort_; }
    // Call-backs seen, and those of them ended (cancelled or hung up).
    int rueckrufe() const { return rueckrufe_; }
    int rueckrufeBeendet() const { return rueckrufeBeendet_; }
    // The user part of the last call-back's request URI.
    const std::string& gewaehlt() const { return gewaehlt_; }

    struct Stapel;

private:
    friend struct Stapel;
    std::unique_ptr<Stapel> s_;
    std::string benutzer_, passwort_;
    std::string kontakt_;
    int antwort_ = 0;
    int abgewiesen_ = 0;
    int rueckrufe_ = 0;
    int rueckrufeBeendet_ = 0;
    std::string gewaehlt_;
};

}  // namespace rufpilot
