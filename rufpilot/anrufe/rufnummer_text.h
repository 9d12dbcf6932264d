// Telephone numbers as the message list and the matcher see them, whichever
// source reported the call: one form for a number however the source wrote
// it, and 8-bit characters made safe to show.
#pragma once

#include <string>
#include <string_view>

namespace rufpilot {

// Windows-1252 bytes as UTF-8. Control characters (which would split a
// message line at a TAB) and unassigned bytes read as '?'.
std::string NummernText(std::string_view bytes);

// The characters people and routers put between digits: blank, '-', '/', '.',
// '(' and ')'.
bool Rufnummerntrenner(char c);

// The one form of a number for every call source: separators dropped, "+49"
// and "0049" turned into the national "0", any other "+" into "00". Nothing
// is put in front otherwise: internal numbers ("4799", "**610") stay as they
// are. Only ASCII bytes are touched, so UTF-8 text passes unharmed.
std::string RufnummerEinheitlich(std::string_view nummer);

// A number as a source delivers it (caller or MSN), ready to show and match:
// RufnummerEinheitlich, then NummernText.
std::string RufnummerText(std::string_view bytes);

// Whether two texts are the same dial number once both are in the one form
// (digits, '*', '#', a leading '+' and separators only). Texts that are no
// dial numbers are never equal here.
bool GleicheRufnummer(std::string_view a, std::string_view b);

// The caller's text for a suppressed number.
inline constexpr const char* kAnruferUnbekannt = "Unbekannt";
// The caller's text when the call names no caller at all.
inline constexpr const char* kAnruferNichtErkannt = "nicht erkannt";

}  // namespace rufpilot
