// Suppresses repeats: a control centre sends an alarm two or three times, and a
// vehicle repeats its status until it is acknowledged. An event equal in content
// to one of the same kind on the same channel let through at most `fenster`
// seconds earlier is a repeat. Time is the event's own (its position in the
// audio when decoding a file), so a replayed recording is filtered the same way
// every time. A repeat does not extend the window: an alarm sent on and on is
// let through again once per window.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace tonwerk::werkzeug {

class Doppelfilter {
public:
    // 0 switches the filter off.
    explicit Doppelfilter(double fensterSek) : fenster_(fensterSek) {}

    // True (and counted) when the event is a repeat. `inhalt` is the event's
    // content in a comparable form, `kanal` its channel.
    bool wiederholung(const std::string& art, int kanal, const std::string& inhalt, double zeit);

    std::uint64_t unterdrueckt() const { return unterdrueckt_; }
    double fenster() const { return fenster_; }

private:
    double fenster_;
    std::uint64_t unterdrueckt_ = 0;
    // Per kind, channel and content: when it was last let through.
    std::map<std::string, double> durchgelassen_;
};

}  // namespace tonwerk::werkzeug
