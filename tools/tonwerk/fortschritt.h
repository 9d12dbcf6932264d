// A progress bar on stderr for long decodes, drawn only when stderr is a terminal.
#pragma once

#include <cstdint>

namespace tonwerk::werkzeug {

class Fortschritt {
public:
    // `gesamt` in frames (<= 0: unknown, no bar); `abtastrate` for the seconds shown.
    Fortschritt(std::int64_t gesamt, int abtastrate);
    ~Fortschritt() { loeschen(); }
    void melden(std::int64_t erreicht);
    // Clears the bar, e.g. before a line goes to the same terminal.
    void loeschen();

private:
    std::int64_t gesamt_;
    int abtastrate_;
    bool aktiv_;
    bool sichtbar_ = false;
    int letztesPromille_ = -1;
};

}  // namespace tonwerk::werkzeug
