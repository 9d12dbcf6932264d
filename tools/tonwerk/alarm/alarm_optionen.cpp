#include "alarm/alarm_optionen.h"

#include <stdexcept>

#include "alarm/home_assistant_ausgang.h"
#include "alarm/mqtt_ausgang.h"
#include "alarm/webhook_ausgang.h"
#include "bedienfehler.h"

namespace tonwerk::werkzeug {

void alarmOptionenAnmelden(CLI::App* cmd, AlarmOptionen& o) {
    cmd->add_option("--mqtt", o.mqtt,
                    "Ereignisse an einen MQTT-Broker weiterleiten: mqtt://HOST[:PORT]/PRÄFIX oder mqtts://... "
                    "(Themen nach --mqtt-thema, Standard PRÄFIX/fms|zvei|pocsag|tonruf|zusatzton/links|rechts; "
                    "Status PRÄFIX/status, Störungen PRÄFIX/status/meldung)");
    cmd->add_option("--mqtt-benutzer", o.benutzer, "Benutzername am Broker");
    cmd->add_option("--mqtt-passwort", o.passwort,
                    "Passwort am Broker; besser aus TONWERK_MQTT_PASSWORT oder der Einstellungsdatei, denn auf der "
                    "Befehlszeile ist es für alle Benutzer sichtbar")
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
                    "Gleiche Alarme (ZVEI-Nummer; POCSAG-RIC, Funktion und Text; FMS: dasselbe Telegramm wie das "
                    "letzte desselben Fahrzeugs) auf demselben Kanal innerhalb so vieler Sekunden nur einmal ausgeben "
                    "(Standard 10, 0 = aus)")
        ->check(CLI::Range(0.0, 86400.0));
    cmd->add_option("--mqtt-thema", o.themen,
                    "Themenvorlage: VORLAGE für alle Arten oder ART=VORLAGE für eine (fms, pocsag, zvei, tonruf), "
                    "mit {praefix} {art} {kanal} {ric} {funktion} {kennung} {status} {zvei} {name}; Standard "
                    "{praefix}/{art}/{kanal} (wiederholbar)");
    cmd->add_option("--nur", o.nur,
                    "Nur Meldungen an diese Adressen ausgeben und weiterleiten: ART:MUSTER oder ART;MUSTER, ART fms "
                    "(Kennung), pocsag (RIC oder RIC/FUNKTION), zvei, tonruf; * und ? im Muster (wiederholbar)");
    cmd->add_option("--ohne", o.ohne, "Meldungen an diese Adressen weglassen, Form wie --nur (wiederholbar)");
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
                    "Am Ende höchstens so viele Sekunden auf die Zustellung an die Webhooks warten (Standard wie "
                    "--mqtt-warten)")
        ->check(CLI::Range(0.0, 3600.0));
}

std::unique_ptr<AlarmWeiche> alarmWeicheBauen(const AlarmOptionen& o, std::ostream& meldungen) {
    AliasTabelle aliase;
    for (const auto& datei : o.aliasDateien) aliase.laden(datei);
    for (const auto& h : aliase.hinweise()) meldungen << "Hinweis: " << h << '\n';
    Adressfilter adressen;
    Themenvorlagen vorlagen;
    try {
        for (const auto& e : o.nur) adressen.nurHinzufuegen(e);
        for (const auto& e : o.ohne) adressen.ohneHinzufuegen(e);
    } catch (const std::invalid_argument& f) {
        throw Bedienfehler(std::string(o.nur.empty() ? "--ohne " : "--nur/--ohne ") + f.what());
    }
    try {
        vorlagen = Themenvorlagen(o.themen);
    } catch (const std::invalid_argument& f) {
        throw Bedienfehler(std::string("--mqtt-thema: ") + f.what());
    }
    auto weiche = std::make_unique<AlarmWeiche>(o.doppeltSek, std::move(aliase), std::move(adressen));
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
        auto mqtt = std::make_unique<MqttWeiterleitung>(std::move(e), meldungen);
        mqtt->starten(5.0);
        MqttWeiterleitung& weiterleitung = *mqtt;
        weiche->ausgangHinzufuegen(std::make_unique<MqttAusgang>(std::move(mqtt), std::move(vorlagen)));
        if (o.mqttHa)
            weiche->ausgangHinzufuegen(std::make_unique<HomeAssistantAusgang>(
                HomeAssistant(weiche->aliase(), weiterleitung.praefix()), weiterleitung));
    } else if (o.mqttHa) {
        throw Bedienfehler("--mqtt-ha braucht --mqtt");
    }
    for (const auto& url : o.webhooks) {
        WebhookEinstellungen w;
        w.url = url;
        w.caDatei = o.webhookCa;
        w.puffer = o.webhookPuffer;
        try {
            weiche->ausgangHinzufuegen(
                std::make_unique<WebhookAusgang>(std::make_unique<Webhook>(std::move(w), meldungen), o.webhookWartenSek));
        } catch (const std::invalid_argument& f) {
            throw Bedienfehler(f.what());
        }
    }
    return weiche;
}

}  // namespace tonwerk::werkzeug
