// The alarm receiver's options of `decode` and `listen`: MQTT forwarding,
// webhooks, Home Assistant discovery, repeat filter and alias tables.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "alarm/alarm_weiche.h"

namespace tonwerk::werkzeug {

struct AlarmOptionen {
    std::string mqtt;  // broker address; empty: no forwarding
    std::string benutzer;
    std::string passwort;
    std::string caDatei;
    std::string zertifikat;
    std::string schluessel;
    std::size_t puffer = 1000;
    double wartenSek = 10;
    double doppeltSek = 10;
    std::vector<std::string> aliasDateien;
    std::vector<std::string> themen;  // --mqtt-thema
    std::vector<std::string> nur;
    std::vector<std::string> ohne;
    bool mqttHa = false;  // Home Assistant discovery
    std::vector<std::string> webhooks;  // URLs; each gets every message
    std::string webhookCa;
    std::size_t webhookPuffer = 1000;
    double webhookWartenSek = -1;  // negative: as long as MQTT
};

void alarmOptionenAnmelden(CLI::App* cmd, AlarmOptionen& o);

// Loads the alias files, starts the webhooks and connects to the broker (waiting up to a few seconds
// for its answer; a broker that cannot be reached, refuses the login or fails
// TLS is reported on `meldungen` and tried again later). Throws
// std::runtime_error on a bad alias file or a bad address.
std::unique_ptr<AlarmWeiche> alarmWeicheBauen(const AlarmOptionen& o, std::ostream& meldungen);

}  // namespace tonwerk::werkzeug
