#include "alarm/alarm_weiche.h"

#include <algorithm>
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
    if (art != "tonruf" && filter_.wiederholung(art, kanalVon(felder), felder.dump(), zeit)) return false;
    bedeutungenErgaenzen(name, felder, aliase_);
    if (!mqtt_ && webhooks_.empty()) return true;
    const nlohmann::ordered_json objekt = mqttNachricht(name, zeit, felder);
    const std::string nachricht = objekt.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    for (auto& w : webhooks_) w->senden(nachricht);
    if (mqtt_) {
        const std::string thema = mqtt_->praefix() + "/" + art + "/" + (kanalVon(felder) == 1 ? "rechts" : "links");
        mqtt_->senden(thema, nachricht);
        if (ha_)
            for (const auto& z : ha_->zustaende(art, objekt)) mqtt_->senden(z.thema, z.nutzlast, z.behalten);
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
    for (auto& w : webhooks_) w->bedienen();
}

bool AlarmWeiche::abschliessen(double warteSek, std::ostream& bericht, double webhookWarteSek) {
    if (filter_.unterdrueckt() > 0) bericht << "Wiederholte Alarme unterdrückt: " << filter_.unterdrueckt() << '\n';
    // The webhooks deliver on their own threads while MQTT is waited for.
    const auto webhookFrist = std::chrono::steady_clock::now() +
                              std::chrono::duration<double>(webhookWarteSek < 0 ? warteSek : webhookWarteSek);
    bool alles = true;
    if (mqtt_) {
        mqtt_->abschliessen(warteSek);
        const auto& z = mqtt_->zahlen();
        Zustellzahlen zahlen;
        zahlen.angenommen = z.angenommen;
        zahlen.zugestellt = z.bestaetigt;
        zahlen.verworfen = z.verworfen;
        zustellBericht(bericht, "MQTT", zahlen);
        alles = allesZugestellt(zahlen);
    }
    for (auto& w : webhooks_) {
        const double rest =
            std::chrono::duration<double>(webhookFrist - std::chrono::steady_clock::now()).count();
        w->abschliessen(std::max(rest, 0.0));
        const Zustellzahlen z = w->stand().zahlen;
        zustellBericht(bericht, "Webhook " + w->anzeige(), z);
        alles = alles && allesZugestellt(z);
    }
    return alles;
}

}  // namespace tonwerk::werkzeug
