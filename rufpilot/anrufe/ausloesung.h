// Why a call ended, in the gateway's terms, and the words the message list
// shows for it ("Rufbehandlung: " + text). The ISDN wording names the S0 bus
// and the exchange; calls over SIP or from the router's call monitor get
// words of their own. Reasons without a name of their own keep the source's
// code, with German words beside it.
#pragma once

#include <string>

namespace rufpilot {

enum class Netz { Isdn, Sip, Anrufmonitor };

enum class Ausloesegrund {
    Aufgelegt,             // the caller hung up
    AmComputerAngenommen,  // answered by an application on this computer
    AnderswoAngenommen,    // answered at another phone
    Umgeleitet,
    AbbruchDurchNetz,      // the exchange or router gave up
    RueckrufBeendet,       // the gateway cleared its call-back
    Sonstiger,             // see Ausloesung::ursache
};

struct Ausloesung {
    Netz netz = Netz::Isdn;
    Ausloesegrund grund = Ausloesegrund::Aufgelegt;
    // For Sonstiger: the source's code with words, "13057 (Protokollfehler)".
    std::string ursache;
    bool operator==(const Ausloesung&) const = default;
};

// The message list's text for `a`.
std::string AusloesungText(const Ausloesung& a);

// A Q.850 cause (as ISDN and SIP's Reason header carry it): the named
// reasons for 16, 26, 31 and 102, any other as Sonstiger with `ursache`
// = `code` + " (" + words + ")".
Ausloesung AusloesungAusQ850(Netz netz, int ursache, const std::string& code);

// German words for a Q.850 cause.
std::string Q850Text(int ursache);

}  // namespace rufpilot
