// `decode` ends with its own exit status when forwarded messages were dropped,
// refused or left undelivered, so a script replaying a recording into MQTT or a
// webhook learns that the receivers did not get everything. The counts have
// been reported on stderr by then.
#pragma once

#include <stdexcept>

namespace tonwerk::werkzeug {

struct Unzugestellt : std::runtime_error {
    Unzugestellt() : std::runtime_error("nicht alle Meldungen zugestellt") {}
};

inline constexpr int kUnzugestelltCode = 3;

}  // namespace tonwerk::werkzeug
