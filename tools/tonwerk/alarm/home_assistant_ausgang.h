// Home Assistant's discovery as an output of the alarm receiver: publishes the
// configurations when built and each message's states (HomeAssistant) through
// the MQTT output's forwarder, whose counts and end they share. Added to the
// same AlarmWeiche after that output; it uses the forwarder only in melden().
#pragma once

#include "alarm/home_assistant.h"
#include "alarm/meldungsausgang.h"
#include "alarm/mqtt_weiterleitung.h"

namespace tonwerk::werkzeug {

class HomeAssistantAusgang : public Meldungsausgang {
public:
    HomeAssistantAusgang(HomeAssistant ha, MqttWeiterleitung& mqtt);

    void melden(const Meldung& m) override;
    // Delivery and counts are the MQTT output's.
    bool abschliessen(double, std::ostream&) override { return true; }

private:
    HomeAssistant ha_;
    MqttWeiterleitung& mqtt_;
};

}  // namespace tonwerk::werkzeug
