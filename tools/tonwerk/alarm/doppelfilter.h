// Suppresses repeats: a control centre sends an alarm two or three times, and a
// vehicle repeats its status until it is acknowledged. Events are grouped by
// kind, channel and sender (a vehicle's Kennung; for alarms the address
// itself); an event is a repeat when it equals the last one of its group let
// through at most `fenster` seconds earlier. So a vehicle's 3, 4, 3 are three
// changes, each of which passes, while 3, 3 is one. Time is the event's own (its position in the
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

    // True (and counted) when the event is a repeat. `absender` names its group
    // within kind and channel, `inhalt` is its content in a comparable form.
    bool wiederholung(const std::string& art, int kanal, const std::string& absender, const std::string& inhalt,
                      double zeit);

    std::uint64_t unterdrueckt() const { return unterdrueckt_; }
    double fenster() const { return fenster_; }

private:
    double fenster_;
    std::uint64_t unterdrueckt_ = 0;
    struct Letztes {
        std::string inhalt;
        double zeit;  // when it was let through
    };
    // Per kind, channel and sender: the last event let through.
    std::map<std::string, Letztes> durchgelassen_;
};

}  // namespace tonwerk::werkzeug
