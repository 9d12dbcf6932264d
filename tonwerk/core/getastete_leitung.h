// Keying around a transmission: the line is raised before the transmission and
// dropped after it on every path out, also when the send method throws, so a
// transmitter never stays keyed.
#pragma once

#include <functional>
#include <string>

#include "tonwerk/core/funkwandler.h"

namespace tonwerk {

// Holds a line keyed through the control's FunkSenden and drops it with
// FunkEmpfangen when released or destroyed, however the transmission ended.
class GetasteteLeitung {
public:
    // Raises `leitung` (1 = DTR, 2 = RTS). A line that cannot be raised is
    // dropped again and reported as std::runtime_error naming `ort`.
    GetasteteLeitung(Funkwandler& fw, Long leitung, const std::string& ort);
    ~GetasteteLeitung();
    GetasteteLeitung(const GetasteteLeitung&) = delete;
    GetasteteLeitung& operator=(const GetasteteLeitung&) = delete;

    // Drops the line now; FunkEmpfangen's result (0 = done).
    Long freigeben();

private:
    Funkwandler& fw_;
    Long leitung_;
    bool gehalten_ = true;
};

// Raises `leitung`, runs `senden` and drops the line afterwards, also when
// `senden` throws (the exception then goes on to the caller: a transmission that
// did not go on air is never reported as sent). A line that cannot be raised or
// released is a std::runtime_error naming `ort`; in the first case `senden` is
// not run. Returns the result of `senden`.
Long getastetSenden(Funkwandler& fw, Long leitung, const std::string& ort,
                    const std::function<Long(Funkwandler&)>& senden);

}  // namespace tonwerk
