// Between the control's events and the tool's output: drops repeated alarms,
// adds meanings and names, and forwards each message event to MQTT as one JSON
// object on PREFIX/<fms|zvei|pocsag|tonruf|zusatzton>/<links|rechts>.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "alarm/alias_tabelle.h"
#include "alarm/doppelfilter.h"
#include "alarm/mqtt_weiterleitung.h"

namespace tonwerk::werkzeug {

class EreignisAusgabe;

class AlarmWeiche {
public:
    // `mqtt` may be null (no forwarding).
    AlarmWeiche(double doppeltSek, AliasTabelle aliase, std::unique_ptr<MqttWeiterleitung> mqtt);

    // Sees the event before it is printed (EreignisAusgabe::weiche): false for a
    // repeat, else adds the meanings and forwards it.
    bool pruefen(const char* name, double zeit, nlohmann::ordered_json& felder);
    // Installs pruefen() as the printer's hook.
    void anschliessen(EreignisAusgabe& ausgabe);
    // Lets MQTT traffic run; call often from the tool's loop.
    void bedienen();
    // Waits up to `warteSek` for MQTT delivery and reports the counts.
    void abschliessen(double warteSek, std::ostream& bericht);

    const Doppelfilter& filter() const { return filter_; }
    MqttWeiterleitung* mqtt() { return mqtt_.get(); }

private:
    Doppelfilter filter_;
    AliasTabelle aliase_;
    std::unique_ptr<MqttWeiterleitung> mqtt_;
};

// The MQTT topic's kind for an event name ("fms", ...); empty for events that
// carry no message (signal level, buffer overflow, ...).
std::string mqttArt(const char* name);
// The MQTT message of an event: its fields after "event", "time", the wall-clock
// time stamp "zeitstempel" (UTC, ISO 8601) and "kanal" (links/rechts).
nlohmann::ordered_json mqttNachricht(const char* name, double zeit, const nlohmann::ordered_json& felder);

}  // namespace tonwerk::werkzeug
