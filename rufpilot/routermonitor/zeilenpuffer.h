// Cuts a byte stream into lines at CR, LF or CR LF, however the bytes were
// split across reads. A line longer than the bound is dropped up
// to its end and counted, so a peer that never ends a line cannot fill the
// memory. Empty lines are skipped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rufpilot {

class Zeilenpuffer {
public:
    struct Zeilen {
        std::vector<std::string> vollstaendig;
        int zuLang = 0;  // lines dropped for their length
    };

    explicit Zeilenpuffer(std::size_t hoechstens = 512) : hoechstens_(hoechstens) {}

    Zeilen anhaengen(std::string_view bytes);
    // Forgets a started line (the connection it came from is gone).
    void leeren();

private:
    std::size_t hoechstens_;
    std::string angefangen_;
    bool verwerfen_ = false;  // inside an overlong line
};

}  // namespace rufpilot
