// The control centre's acknowledgement: remembers the identifier of the
// latest acknowledgement telegram (direction 1, status 14 or more) and lets
// the sender wait for the one that answers its status, in two one-window
// steps that let events run.
#pragma once

#include <functional>
#include <string>

#include "rufpilot/dispatch/ereignisschleife.h"
#include "tonwerk/core/records.h"

namespace rufpilot {

class Quittung {
public:
    Quittung(Ereignisschleife& schleife, std::function<void(const std::string&)> meldung)
        : schleife_(schleife), meldung_(std::move(meldung)) {}

    // A decoded telegram: an acknowledgement is remembered.
    void telegramm(const tonwerk::FmsTlgType& r);
    // True when the acknowledgement for `kennung` arrived.
    bool QuittungAbwarten(const std::string& kennung, int sekunden);
    const std::string& quittungsKennung() const { return quittungsKennung_; }

private:
    Ereignisschleife& schleife_;
    std::function<void(const std::string&)> meldung_;
    // The identifier of the latest acknowledgement: one for the whole program,
    // set by the telegram handler, cleared by each QuittungAbwarten.
    std::string quittungsKennung_;
};

}  // namespace rufpilot
