#include "alarm/mqtt_adresse.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>

namespace tonwerk::werkzeug {

namespace {

int hexWert(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// %XX as in every URL, so that a password may hold @, : or / (%40, %3A, %2F).
// Empty when malformed.
std::optional<std::string> prozentDekodiert(const std::string& s) {
    std::string aus;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            aus += s[i];
            continue;
        }
        if (i + 2 >= s.size()) return std::nullopt;
        const int hoch = hexWert(s[i + 1]), tief = hexWert(s[i + 2]);
        if (hoch < 0 || tief < 0) return std::nullopt;
        aus += static_cast<char>(hoch * 16 + tief);
        i += 2;
    }
    return aus;
}

}  // namespace

std::string ohnePasswort(const std::string& url) {
    const auto schema = url.find("://");
    const auto anfang = schema == std::string::npos ? 0 : schema + 3;
    const auto at = url.rfind('@', url.find('/', anfang));
    if (at == std::string::npos || at < anfang) return url;
    const auto doppel = url.find(':', anfang);
    if (doppel == std::string::npos || doppel > at) return url;
    return url.substr(0, doppel + 1) + "***" + url.substr(at);
}

MqttAdresse mqttAdresseLesen(const std::string& url) {
    const auto fehler = [&url](const std::string& was) {
        return std::invalid_argument("MQTT-Adresse \"" + ohnePasswort(url) + "\": " + was +
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
        const auto benutzer = prozentDekodiert(nutzer.substr(0, doppel));
        const auto passwort = prozentDekodiert(doppel == std::string::npos ? "" : nutzer.substr(doppel + 1));
        // The text is not repeated: it may hold the password.
        if (!benutzer || !passwort)
            throw std::invalid_argument("MQTT-Adresse: ein % im Benutzernamen oder Passwort ist nicht von zwei "
                                        "Hexadezimalziffern gefolgt (@ als %40, : als %3A, % als %25)");
        a.benutzer = *benutzer;
        a.passwort = *passwort;
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
