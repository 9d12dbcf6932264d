// One line of a router's call monitor (TCP, usually port 1012), fields split
// by ';':
//   date;RING;id;caller;called;line;        an incoming call rings
//   date;CALL;id;ext;own;called;line;       an outgoing call (not ours)
//   date;CONNECT;id;ext;number;             a call was answered
//   date;DISCONNECT;id;seconds;             a call ended
// The id ties the lines of one call together. The closing ';' may be missing.
// Anything else is Unlesbar.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rufpilot {

struct Monitorzeile {
    enum class Art { Unlesbar, Ruf, Abgehend, Verbunden, Ende };
    Art art = Art::Unlesbar;
    std::uint32_t id = 0;
    std::string anrufer;  // Ruf: empty for a suppressed number
    std::string msn;      // Ruf: the dialled own number
};

// Numbers and ids longer than this are no router's.
inline constexpr std::size_t kMonitorFeldMax = 40;

// A line without its line end (a trailing CR is tolerated).
Monitorzeile MonitorzeileLesen(std::string_view zeile);

}  // namespace rufpilot
