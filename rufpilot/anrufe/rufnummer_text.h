// Telephone numbers as the message list and the matcher see them, whichever
// source reported the call: 8-bit characters made safe to show, and the
// caller's national number with its trunk prefix "0".
#pragma once

#include <string>
#include <string_view>

namespace rufpilot {

// Windows-1252 bytes as UTF-8. Control characters (which would split a
// message line at a TAB) and unassigned bytes read as '?'.
std::string NummernText(std::string_view bytes);

// A caller's digits as NummernText shows them; a national number without its
// leading "0" (as ISDN delivers it) gets it.
std::string AnruferText(std::string_view ziffern);

// The caller's text for a suppressed number.
inline constexpr const char* kAnruferUnbekannt = "Unbekannt";
// The caller's text when the call names no caller at all.
inline constexpr const char* kAnruferNichtErkannt = "nicht erkannt";

}  // namespace rufpilot
