#include "alarm/alarm_optionen.h"

#include <stdexcept>

namespace tonwerk::werkzeug {

void alarmOptionenAnmelden(CLI::App* cmd, AlarmOptionen& o) {
    cmd->add_option("--mqtt", o.mqtt,
                    "Ereignisse an einen MQTT-Broker weiterleiten: mqtt://HOST[:PORT]/PRÄFIX oder mqtts://... "
                    "(Themen PRÄFIX/fms|zvei|pocsag|tonruf/links|rechts, Status PRÄFIX/status)");
    cmd->add_option("--mqtt-benutzer", o.benutzer, "Benutzername am Broker");
    cmd->add_option("--mqtt-passwort", o.passwort, "Passwort am Broker (auch aus TONWERK_MQTT_PASSWORT)")
        ->envname("TONWERK_MQTT_PASSWORT");
    cmd->add_option("--mqtt-ca", o.caDatei, "TLS mit dieser CA-Zertifikatsdatei (sonst bei mqtts:// die des Systems)")
        ->check(CLI::ExistingFile);
    cmd->add_option("--mqtt-zertifikat", o.zertifikat, "TLS-Client-Zertifikat (PEM)")->check(CLI::ExistingFile);
    cmd->add_option("--mqtt-schluessel", o.schluessel, "Schlüssel zum TLS-Client-Zertifikat (PEM)")
        ->check(CLI::ExistingFile);
    cmd->add_option("--mqtt-puffer", o.puffer,
                    "Höchstens so viele Meldungen warten, solange der Broker fehlt; die ältesten fallen zuerst weg "
                    "(Standard 1000)")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1000000}));
    cmd->add_option("--mqtt-warten", o.wartenSek,
                    "Am Ende höchstens so viele Sekunden auf die Zustellung warten (Standard 10)")
        ->check(CLI::Range(0.0, 3600.0));
    cmd->add_option("--doppelt-sek", o.doppeltSek,
                    "Gleiche Alarme (ZVEI, POCSAG, gleiches FMS-Telegramm) auf demselben Kanal innerhalb so vieler "
                    "Sekunden nur einmal ausgeben (Standard 10, 0 = aus)")
        ->check(CLI::Range(0.0, 86400.0));
    cmd->add_option("--alias", o.aliasDateien,
                    "CSV-Datei mit Namen: Art;Schlüssel;Name je Zeile, Art fms|pocsag|zvei (wiederholbar)")
        ->check(CLI::ExistingFile);
    cmd->add_flag("--mqtt-ha", o.mqttHa,
                  "Home-Assistant-Erkennung: jedes Fahrzeug der Alias-Dateien als Sensor mit seinem letzten Status, "
                  "jede RIC und ZVEI-Nummer als Ereignis (Konfiguration unter homeassistant/...)");
    cmd->add_option("--webhook", o.webhooks,
                    "Jede Meldung als JSON per HTTP-POST an diese URL (http:// oder https://, wiederholbar; auch "
                    "aus TONWERK_WEBHOOK)")
        ->envname("TONWERK_WEBHOOK");
    cmd->add_option("--webhook-ca", o.webhookCa,
                    "HTTPS mit dieser CA-Zertifikatsdatei prüfen (sonst mit den CAs des Systems)")
        ->check(CLI::ExistingFile);
    cmd->add_option("--webhook-puffer", o.webhookPuffer,
                    "Höchstens so viele Meldungen je Webhook warten, solange er fehlt; die ältesten fallen zuerst "
                    "weg (Standard 1000)")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1000000}));
    cmd->add_option("--webhook-warten", o.webhookWartenSek,
                    "Am Ende höchstens so viele Sekunden auf die Zustellung an die Webhooks warten (Standard 10)")
        ->check(CLI::Range(0.0, 3600.0));
}

std::unique_ptr<AlarmWeiche> alarmWeicheBauen(const AlarmOptionen& o, std::ostream& meldungen) {
    AliasTabelle aliase;
    for (const auto& datei : o.aliasDateien) aliase.laden(datei);
    std::unique_ptr<MqttWeiterleitung> mqtt;
    if (!o.mqtt.empty()) {
        MqttEinstellungen e;
        try {
            e.adresse = mqttAdresseLesen(o.mqtt);
        } catch (const std::invalid_argument& f) {
            throw std::runtime_error(f.what());
        }
        if (!o.benutzer.empty()) e.adresse.benutzer = o.benutzer;
        if (!o.passwort.empty()) e.adresse.passwort = o.passwort;
        if (!e.adresse.passwort.empty() && e.adresse.benutzer.empty())
            throw std::runtime_error("MQTT: ein Passwort ohne Benutzername (--mqtt-benutzer)");
        e.caDatei = o.caDatei;
        e.zertifikat = o.zertifikat;
        e.schluessel = o.schluessel;
        if (e.zertifikat.empty() != e.schluessel.empty())
            throw std::runtime_error("MQTT: --mqtt-zertifikat und --mqtt-schluessel nur zusammen");
        e.puffer = o.puffer;
        mqtt = std::make_unique<MqttWeiterleitung>(std::move(e), meldungen);
        mqtt->starten(5.0);
    }
    std::unique_ptr<HomeAssistant> ha;
    if (o.mqttHa) {
        if (!mqtt) throw std::runtime_error("--mqtt-ha braucht --mqtt");
        ha = std::make_unique<HomeAssistant>(aliase, mqtt->praefix());
        for (const auto& k : ha->konfigurationen()) mqtt->senden(k.thema, k.nutzlast, k.behalten);
    }
    std::vector<std::unique_ptr<Webhook>> webhooks;
    for (const auto& url : o.webhooks) {
        WebhookEinstellungen w;
        w.url = url;
        w.caDatei = o.webhookCa;
        w.puffer = o.webhookPuffer;
        try {
            webhooks.push_back(std::make_unique<Webhook>(std::move(w), meldungen));
        } catch (const std::invalid_argument& f) {
            throw std::runtime_error(f.what());
        }
    }
    auto weiche = std::make_unique<AlarmWeiche>(o.doppeltSek, std::move(aliase), std::move(mqtt));
    weiche->webhooksSetzen(std::move(webhooks));
    weiche->homeAssistantSetzen(std::move(ha));
    return weiche;
}

}  // namespace tonwerk::werkzeug
