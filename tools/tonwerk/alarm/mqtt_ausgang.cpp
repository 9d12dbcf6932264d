#include "alarm/mqtt_ausgang.h"

namespace tonwerk::werkzeug {

MqttAusgang::MqttAusgang(std::unique_ptr<MqttWeiterleitung> weiterleitung) : w_(std::move(weiterleitung)) {}

void MqttAusgang::melden(const Meldung& m) {
    const auto kanal = m.nachricht.find("Kanal");
    const bool rechts = kanal != m.nachricht.end() && kanal->is_number_integer() && kanal->get<int>() == 1;
    w_->senden(w_->praefix() + "/" + m.art + "/" + (rechts ? "rechts" : "links"), m.text);
    w_->bedienen();
}

void MqttAusgang::bedienen() { w_->bedienen(); }

bool MqttAusgang::abschliessen(double warteSek, std::ostream& bericht) {
    const bool alles = w_->abschliessen(warteSek);
    const auto& z = w_->zahlen();
    bericht << "MQTT: " << z.bestaetigt << " von " << z.angenommen << " Meldungen zugestellt";
    if (z.verworfen > 0) bericht << ", " << z.verworfen << " verworfen";
    bericht << '\n';
    return alles && z.verworfen == 0;
}

}  // namespace tonwerk::werkzeug
