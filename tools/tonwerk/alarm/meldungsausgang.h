// One destination of the alarm receiver's messages (MQTT, a webhook, ...).
// AlarmWeiche hands every message event to each of its outputs once it has
// passed the address lists and the repeat filter, with its meanings and names
// added. An output never lets the decoding wait: it queues and delivers from
// bedienen() or a thread of its own.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace tonwerk::werkzeug {

struct Meldung {
    const char* ereignis;  // the event's name: FMSDecodierung, ...
    std::string art;       // fms, zvei, pocsag, tonruf
    double zeit;           // the event's time in seconds (audio position or since start)
    // The whole message as printed by --json and sent: event, time,
    // zeitstempel, kanalname, then the event's fields with their meanings.
    const nlohmann::ordered_json& nachricht;
    // `nachricht` as one line of JSON.
    const std::string& text;
};

class Meldungsausgang {
public:
    virtual ~Meldungsausgang() = default;
    // Takes one message; returns at once.
    virtual void melden(const Meldung& m) = 0;
    // Lets the output's traffic run; called often from the tool's loop.
    virtual void bedienen() {}
    // At the end: waits up to `warteSek` for delivery, writes its counts to
    // `bericht`, and returns false when messages were lost (undelivered or
    // dropped).
    virtual bool abschliessen(double warteSek, std::ostream& bericht) = 0;
};

}  // namespace tonwerk::werkzeug
