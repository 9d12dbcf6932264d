// Who is calling and which number was dialled, from an INVITE's headers, as
// the message list shows them for any call: a suppressed number reads
// "Unbekannt", a call naming no caller "nicht erkannt".
#pragma once

#include <string>
#include <string_view>

namespace rufpilot {

// What an INVITE says about its caller (user parts as they stand in the URIs).
struct SipAnruferangaben {
    std::string fromUser;
    std::string fromHost;
    bool paiVorhanden = false;  // a P-Asserted-Identity header was present
    std::string paiUser;
    std::string privacy;  // the Privacy header's values, as one text
};

// The dialled digits of a URI user part: cut at its first ';' (parameters),
// %XX escapes decoded, then in the one form of every call source
// (RufnummerEinheitlich: separators dropped, "+49" the national "0", any other
// "+" "00"). Empty when nothing is left. At most 32 characters.
std::string SipNummer(std::string_view user);

// The caller's text: the asserted identity before From, hidden callers
// (Privacy, "anonymous") "Unbekannt", no caller at all "nicht erkannt".
std::string SipAnrufer(const SipAnruferangaben& angaben);

// The dialled MSN's text from the To (or request URI) user part.
std::string SipMsn(std::string_view user);

}  // namespace rufpilot
