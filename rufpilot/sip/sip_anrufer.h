// Who is calling, from an INVITE's headers, in the form the call monitor reads
// from ISDN: the Calling party number struct of a CONNECT_IND. A suppressed
// number becomes a restricted struct without digits, as ISDN delivers it.
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
// %XX escapes decoded, visual separators ("-", ".", "(", ")", " ") dropped,
// "+49" turned into the national "0" and any other "+" into "00". Empty when
// nothing is left. At most 32 characters.
std::string SipNummer(std::string_view user);

// The Calling party number struct's contents (type octet, presentation
// octet, digits), without its length byte. Empty when the INVITE names no
// caller at all.
std::string SipAnruferStruct(const SipAnruferangaben& angaben);

// The number area of a CONNECT_IND: Called party number struct (the MSN's
// digits), Calling party number struct, and the five empty structs after them.
std::string SipNummernbereich(std::string_view msn, std::string_view anruferStruct);

}  // namespace rufpilot
