// The dialled MSN and the caller's number out of a CONNECT_IND's number area
// (Called party number struct, then Calling party number struct). The area
// holds 8-bit characters; the texts come back as UTF-8. Structs that announce
// more bytes than the area holds give shorter texts.
#pragma once

#include <string>
#include <string_view>

#include "rufpilot/anrufe/rufnummer_text.h"

namespace rufpilot {

// The digits of the Called party number after its type octet; empty without.
std::string MsnAusNummernbereich(std::string_view nummernbereich);

// The caller: its digits (a national number without its leading "0" gets it)
// in the one form of every call source (RufnummerText), or "nicht erkannt"
// without a Calling party number, or for a suppressed number "ISDN Hidden",
// "Unbekannt" or "HideCode  <type octet>".
std::string AnruferAusNummernbereich(std::string_view nummernbereich);


}  // namespace rufpilot
