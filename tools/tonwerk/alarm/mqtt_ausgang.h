// The MQTT output of the alarm receiver: each message as one JSON object on a
// topic from the templates (PRÄFIX/ART/KANAL by default), through
// MqttWeiterleitung.
#pragma once

#include <memory>

#include "alarm/meldungsausgang.h"
#include "alarm/mqtt_weiterleitung.h"
#include "alarm/themenvorlage.h"

namespace tonwerk::werkzeug {

class MqttAusgang : public Meldungsausgang {
public:
    explicit MqttAusgang(std::unique_ptr<MqttWeiterleitung> weiterleitung, Themenvorlagen vorlagen = Themenvorlagen());

    void melden(const Meldung& m) override;
    void bedienen() override;
    bool abschliessen(double warteSek, std::ostream& bericht) override;

    MqttWeiterleitung& weiterleitung() { return *w_; }

private:
    std::unique_ptr<MqttWeiterleitung> w_;
    Themenvorlagen vorlagen_;
};

}  // namespace tonwerk::werkzeug
