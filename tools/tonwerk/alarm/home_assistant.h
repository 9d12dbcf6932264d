// Home Assistant's MQTT discovery: retained configurations under
// homeassistant/... make each vehicle of the alias table a sensor holding its
// last status and each aliased RIC and ZVEI number an event entity, all tied to
// the tool's availability topic PREFIX/status. The states they read are extra
// messages besides the usual ones: a vehicle's status retained on
// PREFIX/fahrzeug/KENNUNG (so Home Assistant shows it again after a restart),
// an alarm on PREFIX/alarm/pocsag/RIC[/FUNKTION] or PREFIX/alarm/zvei/NUMMER.
#pragma once

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "alarm/alias_tabelle.h"

namespace tonwerk::werkzeug {

struct MqttMeldung {
    std::string thema;
    std::string nutzlast;
    bool behalten = false;
};

class HomeAssistant {
public:
    HomeAssistant(const AliasTabelle& aliase, std::string praefix, std::string entdeckung = "homeassistant");

    // One retained configuration per alias entry.
    std::vector<MqttMeldung> konfigurationen() const;
    // The state messages for a forwarded message (`art` fms|pocsag|zvei|tonruf,
    // `nachricht` the MQTT object): a vehicle's own status telegram (not the
    // control centre's order to it) and alarms for aliased RICs and ZVEI
    // numbers, a RIC's entry for the message's function before the RIC's own.
    std::vector<MqttMeldung> zustaende(const std::string& art, const nlohmann::ordered_json& nachricht) const;

private:
    std::vector<AliasEintrag> eintraege_;
    std::set<std::string> schluessel_;  // "art:schluessel"
    std::string praefix_;
    std::string entdeckung_;
    std::string knoten_;  // the device's id: the prefix in letters, digits and '_'

    std::string zustandsThema(const AliasEintrag& e) const;
};

}  // namespace tonwerk::werkzeug
