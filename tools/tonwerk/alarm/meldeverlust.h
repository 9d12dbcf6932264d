// The end of a run in which an output lost messages (not delivered in time, or
// dropped from a full queue): the events were decoded and printed, but a
// consumer downstream missed some, so the tool exits with a code of its own.
#pragma once

#include <stdexcept>

namespace tonwerk::werkzeug {

struct Meldeverlust : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr int kMeldeverlustCode = 3;

}  // namespace tonwerk::werkzeug
