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
    zustellBericht(bericht, "MQTT", w_->zahlen());
    return alles && allesZugestellt(w_->zahlen());
}

}  // namespace tonwerk::werkzeug
