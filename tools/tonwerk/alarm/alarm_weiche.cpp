#include "alarm/alarm_weiche.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "alarm/bedeutungen.h"
#include "ereignis_ausgabe.h"

namespace tonwerk::werkzeug {

namespace {

std::string zeitstempelJetzt() {
    const auto jetzt = std::chrono::system_clock::now();
    const std::time_t sekunden = std::chrono::system_clock::to_time_t(jetzt);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(jetzt.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&sekunden, &utc);
    char text[40];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%03dZ", static_cast<int>(ms));
    return text;
}

int kanalVon(const nlohmann::ordered_json& felder) {
    const auto it = felder.find("Kanal");
    return it != felder.end() && it->is_number_integer() ? it->get<int>() : 0;
}

// What makes two events the same alarm: every field but how many codewords
// needed correcting, which differs from one sending of a message to the next.
std::string inhalt(nlohmann::ordered_json felder) {
    felder.erase("KorrigierteWorte");
    felder.erase("FehlerhafteWorte");
    return felder.dump();
}

}  // namespace

std::string mqttArt(const char* name) {
    const std::string_view n = name;
    if (n == "FMSDecodierung") return "fms";
    if (n == "ZVEIDecodierung") return "zvei";
    if (n == "POCDecodierung") return "pocsag";
    if (n == "TonrufDecodierungA") return "tonruf";
    return "";
}

nlohmann::ordered_json mqttNachricht(const char* name, double zeit, const nlohmann::ordered_json& felder) {
    nlohmann::ordered_json j;
    j["event"] = name;
    j["time"] = std::round(zeit * 1000.0) / 1000.0;
    j["zeitstempel"] = zeitstempelJetzt();
    j["kanal"] = kanalVon(felder) == 1 ? "rechts" : "links";
    for (const auto& [k, v] : felder.items()) j[k] = v;
    return j;
}

AlarmWeiche::AlarmWeiche(double doppeltSek, AliasTabelle aliase, std::unique_ptr<MqttWeiterleitung> mqtt)
    : filter_(doppeltSek), aliase_(std::move(aliase)), mqtt_(std::move(mqtt)) {}

bool AlarmWeiche::pruefen(const char* name, double zeit, nlohmann::ordered_json& felder) {
    const std::string art = mqttArt(name);
    if (art.empty()) return true;
    // Tone calls are single tones a station may send on purpose again and again.
    if (art != "tonruf" && filter_.wiederholung(art, kanalVon(felder), inhalt(felder), zeit)) return false;
    bedeutungenErgaenzen(name, felder, aliase_);
    if (mqtt_) {
        const std::string thema = mqtt_->praefix() + "/" + art + "/" + (kanalVon(felder) == 1 ? "rechts" : "links");
        mqtt_->senden(thema, mqttNachricht(name, zeit, felder).dump(-1, ' ', false,
                                                                     nlohmann::ordered_json::error_handler_t::replace));
        mqtt_->bedienen();
    }
    return true;
}

void AlarmWeiche::anschliessen(EreignisAusgabe& ausgabe) {
    ausgabe.weiche = [this](const char* name, double zeit, nlohmann::ordered_json& felder) {
        return pruefen(name, zeit, felder);
    };
}

void AlarmWeiche::bedienen() {
    if (mqtt_) mqtt_->bedienen();
}

void AlarmWeiche::abschliessen(double warteSek, std::ostream& bericht) {
    if (filter_.unterdrueckt() > 0) bericht << "Wiederholte Alarme unterdrückt: " << filter_.unterdrueckt() << '\n';
    if (!mqtt_) return;
    mqtt_->abschliessen(warteSek);
    const auto& z = mqtt_->zahlen();
    bericht << "MQTT: " << z.bestaetigt << " von " << z.angenommen << " Meldungen zugestellt";
    if (z.verworfen > 0) bericht << ", " << z.verworfen << " verworfen";
    bericht << '\n';
}

}  // namespace tonwerk::werkzeug
