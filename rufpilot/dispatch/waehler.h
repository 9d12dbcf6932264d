// Places the call-back: the telephone side of Rueckruf, after its countdown.
#pragma once

#include <string>

namespace rufpilot {

class Waehler {
public:
    virtual ~Waehler() = default;
    // Dials `nummer` with `msn` as the calling number.
    virtual void waehlen(const std::string& nummer, const std::string& msn) = 0;
};

}  // namespace rufpilot
