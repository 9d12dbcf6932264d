#include "alarm/home_assistant.h"

#include <cctype>

namespace tonwerk::werkzeug {

namespace {

using Json = nlohmann::ordered_json;

std::string nurBuchstabenUndZiffern(const std::string& s) {
    std::string r;
    for (unsigned char c : s) r += std::isalnum(c) ? static_cast<char>(c) : '_';
    return r;
}

std::string text(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

HomeAssistant::HomeAssistant(const AliasTabelle& aliase, std::string praefix, std::string entdeckung)
    : eintraege_(aliase.alle()),
      praefix_(std::move(praefix)),
      entdeckung_(std::move(entdeckung)),
      knoten_("tonwerk_" + nurBuchstabenUndZiffern(praefix_)) {
    for (const auto& e : eintraege_) schluessel_.insert(e.art + ":" + e.schluessel);
}

std::string HomeAssistant::zustandsThema(const AliasEintrag& e) const {
    if (e.art == "fms") return praefix_ + "/fahrzeug/" + e.schluessel;
    return praefix_ + "/alarm/" + e.art + "/" + e.schluessel;
}

std::vector<MqttMeldung> HomeAssistant::konfigurationen() const {
    const Json geraet = {{"identifiers", Json::array({knoten_})},
                         {"name", "Tonwerk " + praefix_},
                         {"manufacturer", "Tonwerk"},
                         {"model", "Alarmempfänger"}};
    std::vector<MqttMeldung> k;
    for (const auto& e : eintraege_) {
        const std::string objekt = e.art + "_" + nurBuchstabenUndZiffern(e.schluessel);
        Json c;
        c["name"] = e.name;
        c["unique_id"] = knoten_ + "_" + objekt;
        c["object_id"] = knoten_ + "_" + objekt;
        c["state_topic"] = zustandsThema(e);
        c["availability_topic"] = praefix_ + "/status";
        c["payload_available"] = "online";
        c["payload_not_available"] = "offline";
        std::string komponente;
        if (e.art == "fms") {
            komponente = "sensor";
            c["value_template"] = "{{ value_json.Statuszeichen }}";
            c["json_attributes_topic"] = zustandsThema(e);
            c["icon"] = "mdi:fire-truck";
        } else {
            komponente = "event";
            Json typen = Json::array();
            if (e.art == "zvei") {
                typen.push_back("alarm");
            } else if (const auto strich = e.schluessel.find('/'); strich != std::string::npos) {
                typen.push_back(std::string(1, static_cast<char>('A' + (e.schluessel[strich + 1] - '1'))));
            } else {
                for (const char* f : {"A", "B", "C", "D"}) typen.push_back(f);
            }
            c["event_types"] = typen;
            c["icon"] = e.art == "zvei" ? "mdi:bullhorn" : "mdi:pager";
        }
        c["device"] = geraet;
        k.push_back({entdeckung_ + "/" + komponente + "/" + knoten_ + "/" + objekt + "/config", text(c), true});
    }
    return k;
}

std::vector<MqttMeldung> HomeAssistant::zustaende(const std::string& art, const Json& nachricht) const {
    const auto feld = [&](const char* name) { return nachricht.contains(name) ? nachricht[name] : Json(); };
    if (art == "fms") {
        const Json kennung = feld("Kennung");
        if (!kennung.is_string() || feld("Richtung") != 0 || !schluessel_.count("fms:" + kennung.get<std::string>()))
            return {};
        return {{praefix_ + "/fahrzeug/" + kennung.get<std::string>(), text(nachricht), true}};
    }
    Json ereignis = nachricht;
    std::string schluessel;
    if (art == "pocsag") {
        const Json ric = feld("RIC");
        const Json funktion = feld("Funktion");
        if (!ric.is_number_integer() || !funktion.is_number_integer()) return {};
        const int f = funktion.get<int>();
        if (f < 1 || f > 4) return {};
        const std::string r = std::to_string(ric.get<long>());
        if (schluessel_.count("pocsag:" + r + "/" + std::to_string(f)))
            schluessel = r + "/" + std::to_string(f);
        else if (schluessel_.count("pocsag:" + r))
            schluessel = r;
        else
            return {};
        ereignis["event_type"] = std::string(1, static_cast<char>('A' + f - 1));
    } else if (art == "zvei") {
        const Json nummer = feld("ZVEINr");
        if (!nummer.is_string() || !schluessel_.count("zvei:" + nummer.get<std::string>())) return {};
        schluessel = nummer.get<std::string>();
        ereignis["event_type"] = "alarm";
    } else {
        return {};
    }
    return {{praefix_ + "/alarm/" + art + "/" + schluessel, text(ereignis), false}};
}

}  // namespace tonwerk::werkzeug
