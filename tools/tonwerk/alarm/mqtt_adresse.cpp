#include "alarm/mqtt_adresse.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace tonwerk::werkzeug {

MqttAdresse mqttAdresseLesen(const std::string& url) {
    const auto fehler = [&url](const std::string& was) {
        return std::invalid_argument("MQTT-Adresse \"" + url + "\": " + was +
                                     " (erwartet mqtt://HOST[:PORT]/PRÄFIX oder mqtts://...)");
    };
    MqttAdresse a;
    std::string rest;
    if (url.rfind("mqtt://", 0) == 0) {
        rest = url.substr(7);
    } else if (url.rfind("mqtts://", 0) == 0) {
        rest = url.substr(8);
        a.tls = true;
        a.port = 8883;
    } else {
        throw fehler("beginnt nicht mit mqtt:// oder mqtts://");
    }
    const auto schraeg = rest.find('/');
    std::string autoritaet = rest.substr(0, schraeg);
    if (schraeg != std::string::npos) {
        std::string praefix = rest.substr(schraeg + 1);
        while (!praefix.empty() && praefix.back() == '/') praefix.pop_back();
        if (praefix.find_first_of("+#") != std::string::npos) throw fehler("Präfix enthält + oder #");
        if (!praefix.empty()) a.praefix = praefix;
    }
    if (const auto at = autoritaet.rfind('@'); at != std::string::npos) {
        const std::string nutzer = autoritaet.substr(0, at);
        autoritaet.erase(0, at + 1);
        const auto doppel = nutzer.find(':');
        a.benutzer = nutzer.substr(0, doppel);
        if (doppel != std::string::npos) a.passwort = nutzer.substr(doppel + 1);
        if (a.benutzer.empty()) throw fehler("Benutzername fehlt vor @");
    }
    std::string port;
    if (!autoritaet.empty() && autoritaet[0] == '[') {  // IPv6 literal
        const auto zu = autoritaet.find(']');
        if (zu == std::string::npos) throw fehler("] fehlt");
        a.host = autoritaet.substr(1, zu - 1);
        const std::string danach = autoritaet.substr(zu + 1);
        if (!danach.empty()) {
            if (danach[0] != ':') throw fehler("nach ] erwartet :PORT");
            port = danach.substr(1);
            if (port.empty()) throw fehler("Port fehlt nach :");
        }
    } else {
        const auto doppel = autoritaet.find(':');
        a.host = autoritaet.substr(0, doppel);
        if (doppel != std::string::npos) {
            port = autoritaet.substr(doppel + 1);
            if (port.empty()) throw fehler("Port fehlt nach :");
        }
    }
    if (a.host.empty()) throw fehler("Host fehlt");
    if (!port.empty()) {
        if (port.size() > 5 || !std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
            throw fehler("Port \"" + port + "\" ist keine Zahl von 1 bis 65535");
        a.port = std::stoi(port);
        if (a.port < 1 || a.port > 65535) throw fehler("Port \"" + port + "\" ist keine Zahl von 1 bis 65535");
    }
    return a;
}

}  // namespace tonwerk::werkzeug
