// Input the person at the keyboard has to correct (a value the format cannot
// carry, a missing option): the tool prints its one line and exits with 2,
// before anything is sent, written or keyed.
#pragma once

#include <stdexcept>

namespace tonwerk::werkzeug {

struct Bedienfehler : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr int kBedienfehlerCode = 2;

}  // namespace tonwerk::werkzeug
