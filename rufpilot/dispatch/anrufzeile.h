// A recognised call's row: the one type behind the call list, the day's log
// file and what the demo and the tests read back. One writer turns it into
// the TAB-separated line the list shows and the log holds, one reader takes
// such a line apart again; the line stays byte for byte what it always was:
//   time TAB caller TAB MSN TAB FMS identifier TAB status TAB line TAB ja|nein
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rufpilot {

struct Anrufzeile {
    std::string uhrzeit;  // "hh:mm:ss"
    std::string telefon;  // the number of the table's entry
    std::string msn;      // the MSN slot that matched
    std::string kennung;
    int status = 0;
    std::string leitung;  // "DTR", "RTS" or as the table has it
    bool quittiert = false;
    bool operator==(const Anrufzeile&) const = default;
};

std::string anrufZeileText(const Anrufzeile& zeile);

// Seven fields, a decimal status and "ja" or "nein" last; nothing otherwise.
std::optional<Anrufzeile> anrufZeileLesen(std::string_view zeile);

}  // namespace rufpilot
