// The broker address of --mqtt: mqtt://[USER[:PASSWORD]@]HOST[:PORT]/PREFIX,
// or mqtts:// for TLS (default ports 1883 and 8883; prefix "tonwerk" when none).
#pragma once

#include <string>

namespace tonwerk::werkzeug {

struct MqttAdresse {
    std::string host;
    int port = 1883;
    std::string praefix = "tonwerk";
    bool tls = false;
    std::string benutzer;
    std::string passwort;
};

// Throws std::invalid_argument saying what is wrong with the address (never
// repeating a password in it). User and password may be %-encoded (%40 for @).
MqttAdresse mqttAdresseLesen(const std::string& url);
// The address with its password, if any, as "***", for messages.
std::string ohnePasswort(const std::string& url);

}  // namespace tonwerk::werkzeug
