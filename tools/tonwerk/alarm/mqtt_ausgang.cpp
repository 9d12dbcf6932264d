#include "alarm/mqtt_ausgang.h"

namespace tonwerk::werkzeug {

MqttAusgang::MqttAusgang(std::unique_ptr<MqttWeiterleitung> weiterleitung, Themenvorlagen vorlagen)
    : w_(std::move(weiterleitung)), vorlagen_(std::move(vorlagen)) {}

void MqttAusgang::melden(const Meldung& m) {
    w_->senden(vorlagen_.fuer(m.art).thema(w_->praefix(), m.art, m.nachricht), m.text);
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
