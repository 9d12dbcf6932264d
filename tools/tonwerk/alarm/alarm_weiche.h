// Between the control's events and the tool's output: drops repeated alarms,
// adds meanings and names, and forwards each message event to MQTT as one JSON
// object on PREFIX/<fms|zvei|pocsag|tonruf>/<links|rechts> and the same object
// to every webhook.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "alarm/alias_tabelle.h"
#include "alarm/doppelfilter.h"
#include "alarm/home_assistant.h"
#include "alarm/mqtt_weiterleitung.h"
#include "alarm/webhook.h"

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
    // Each message also goes to these webhooks.
    void webhooksSetzen(std::vector<std::unique_ptr<Webhook>> webhooks) { webhooks_ = std::move(webhooks); }
    // Sends Home Assistant's state messages besides the usual ones (needs MQTT).
    void homeAssistantSetzen(std::unique_ptr<HomeAssistant> ha) { ha_ = std::move(ha); }
    // Lets MQTT traffic run and writes the webhooks' reports; call often from the tool's loop.
    void bedienen();
    // Waits up to `warteSek` for MQTT delivery and `webhookWarteSek` for the
    // webhooks' (at the same time) and reports the counts. False when a message
    // was dropped, refused or left undelivered.
    bool abschliessen(double warteSek, std::ostream& bericht, double webhookWarteSek = -1);

    const Doppelfilter& filter() const { return filter_; }
    MqttWeiterleitung* mqtt() { return mqtt_.get(); }

private:
    Doppelfilter filter_;
    AliasTabelle aliase_;
    std::unique_ptr<MqttWeiterleitung> mqtt_;
    std::vector<std::unique_ptr<Webhook>> webhooks_;
    std::unique_ptr<HomeAssistant> ha_;
};

// The MQTT topic's kind for an event name ("fms", ...); empty for events that
// carry no message (signal level, buffer overflow, ...).
std::string mqttArt(const char* name);
// The MQTT message of an event: its fields after "event", "time", the wall-clock
// time stamp "zeitstempel" (UTC, ISO 8601) and "kanal" (links/rechts).
nlohmann::ordered_json mqttNachricht(const char* name, double zeit, const nlohmann::ordered_json& felder);

}  // namespace tonwerk::werkzeug
