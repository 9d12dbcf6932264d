// Where Rufpilot hears about incoming calls: the ISDN line through CAPI 2.0
// (the default), an IP phone account at the router (SIP), or the router's
// call monitor on TCP. Kept apart from server.ini, whose eight lines stay as
// they are.
#pragma once

#include <cstdint>
#include <string>

namespace rufpilot {

enum class Quellenart { Capi, Sip, Anrufmonitor };

// The IP phone account Rufpilot registers at the router.
struct SipKonto {
    std::string registrar;  // host[:port] of the router's registrar
    std::string benutzer;   // account user name (often the internal number)
    std::string passwort;

    bool eingerichtet() const { return !registrar.empty() && !benutzer.empty(); }
    bool operator==(const SipKonto&) const = default;
};

struct Quelleneinstellungen {
    Quellenart art = Quellenart::Capi;
    SipKonto sip;
    std::string monitorHost;           // the router running the call monitor
    std::uint16_t monitorPort = 1012;

    bool operator==(const Quelleneinstellungen&) const = default;
};

}  // namespace rufpilot
