// Matching an incoming call, as a pure function: the caller against the
// number table (the first entry with the same text, letter case aside, or
// with the same number in the one form of every source, wins; an empty entry
// stands for no caller), the dialled MSN against the MSN
// slots (the slot's position is the status). It returns the match and every
// message line the comparison writes, in order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rufpilot/config/einstellungen.h"
#include "rufpilot/dispatch/msn_tabelle.h"

namespace rufpilot {

struct RufTreffer {
    Nummerneintrag eintrag;  // the caller's entry
    std::string msn;         // the MSN slot's text
    int status = 0;          // 1 to 9
};

struct RufAbgleich {
    std::optional<RufTreffer> treffer;  // only when caller and MSN both matched
    std::vector<std::string> meldungen;
};

RufAbgleich rufAbgleichen(const std::string& anrufer, const std::string& msn, const Nummerntabelle& nummern,
                          const MsnTabelle& msns);

}  // namespace rufpilot
