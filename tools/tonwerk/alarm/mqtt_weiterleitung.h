// Hands messages to an MQTT broker with libmosquitto, QoS 1, driven from the
// caller's own loop (bedienen), so that everything runs on one thread.
//
// Messages wait in a bounded queue of our own and go to the library only while
// connected, at most `fenster` unacknowledged at a time. The library keeps what
// it was given across a lost connection and sends it again first thing after
// reconnecting, so nothing given to it is ever published twice from here and
// the order holds. When the queue is full the oldest message is dropped and
// counted.
//
// Connection: the first attempt happens in starten(); after any failure (no
// answer, a refused login, a TLS error) attempts follow with a back-off of 1,
// 2, 4 ... up to 30 s, for ever: nothing about the broker stops the decoding.
// Each change (lost, a new reason, back, dropping) is said once, on
// `meldungen` and, retained, on PREFIX/status/meldung as soon as the broker
// takes messages. The broker's status topic PREFIX/status holds "online" while
// connected and "offline" (last will, or sent at the end) otherwise, retained.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <thread>

#include "alarm/mqtt_adresse.h"
#include "alarm/rueckzug.h"
#include "alarm/zustellung.h"

struct mosquitto;

namespace tonwerk::werkzeug {

struct MqttEinstellungen {
    MqttAdresse adresse;
    std::string caDatei;      // TLS: the CA certificate file (system CAs when empty)
    std::string zertifikat;   // TLS client certificate and key (optional)
    std::string schluessel;
    std::size_t puffer = 1000;  // queue bound
    int keepaliveSek = 30;
    std::string clientId;     // empty: the library picks one
};

class MqttWeiterleitung {
public:
    // Handed to senden(), acknowledged by the broker, dropped from a full queue
    // or refused by the library.
    using Zahlen = Zustellzahlen;

    // `meldungen` hears connection changes and drops (one line each);
    // `uhr` tells monotonic seconds and times the back-off.
    MqttWeiterleitung(MqttEinstellungen e, std::ostream& meldungen, std::function<double()> uhr = {});
    ~MqttWeiterleitung();
    MqttWeiterleitung(const MqttWeiterleitung&) = delete;
    MqttWeiterleitung& operator=(const MqttWeiterleitung&) = delete;

    // First connection attempt; waits up to `warteSek` for the broker's answer.
    // A broker that cannot be reached, refuses the login or fails TLS is
    // reported and tried again later.
    void starten(double warteSek);
    // Queues one message for `thema`; `behalten`: the broker keeps it for later subscribers.
    void senden(const std::string& thema, const std::string& nutzlast, bool behalten = false);
    // One step: network traffic (waiting up to `wartenMs` for it), reconnect
    // when due, hand queued messages on.
    void bedienen(int wartenMs = 0);
    // Waits up to `warteSek` until everything queued is acknowledged, then says
    // "offline" and disconnects. False when messages remained undelivered.
    bool abschliessen(double warteSek);

    bool verbunden() const { return zustand_ == Zustand::verbunden; }
    // Connecting: looking the host up or waiting for the broker's answer.
    bool verbindet() const { return zustand_ == Zustand::verbindend || zustand_ == Zustand::aufloesend; }
    // Nothing queued and nothing awaiting acknowledgement.
    bool leer() const { return schlange_.leer() && ausstehend_.empty(); }
    std::size_t wartend() const { return schlange_.groesse() + ausstehend_.size(); }
    const Zahlen& zahlen() const { return zahlen_; }
    const std::string& praefix() const { return e_.adresse.praefix; }
    std::string statusThema() const { return e_.adresse.praefix + "/status"; }
    std::string broker() const;

private:
    // aufloesend: a helper thread looks the host up and starts the connect.
    enum class Zustand { getrennt, aufloesend, verbindend, verbunden };
    struct Nachricht {
        std::string thema;
        std::string nutzlast;
        bool behalten = false;
    };

    MqttEinstellungen e_;
    std::ostream& meldungen_;
    std::function<double()> uhr_;
    mosquitto* m_ = nullptr;
    Zustand zustand_ = Zustand::getrennt;
    bool jemalsVersucht_ = false;
    std::string gemeldeterGrund_;  // the failure said last; empty while connected
    std::string tlsFehler_;        // OpenSSL's text of the last TLS failure
    std::deque<std::string> statusZeilen_;  // changes not yet on PREFIX/status/meldung
    bool verwerfenGemeldet_ = false;
    double naechsterVersuch_ = 0;
    double verbindendSeit_ = 0;
    std::thread verbinder_;
    std::atomic<bool> verbinderFertig_{false};
    int verbinderRc_ = 0;  // written by the helper before verbinderFertig_
    static constexpr double antwortFrist = 30;  // seconds from connect to the broker's answer
    Rueckzug rueckzug_;
    int abgelehnt_ = 0;  // CONNACK code of a refused login
    int onlineMid_ = -1;
    int offlineMid_ = -1;
    bool offlineBestaetigt_ = false;
    ZustellSchlange<Nachricht> schlange_{e_.puffer};
    std::set<int> ausstehend_;  // message ids the library holds unacknowledged
    Zahlen zahlen_;
    static constexpr std::size_t fenster = 20;

    void verbinden();
    void verbinderAbwarten();
    // After an attempt started: true once it is under way (now verbindend).
    bool verbinderPruefen(int wartenMs);
    void verloren(const std::string& grund, const char* was = nullptr);
    std::string grund(int rc);
    void zustandMelden(const std::string& zeile);
    void statusZeilenSenden();
    void weitergeben();
    void ablehnungPruefen();
    static void beiVerbindung(mosquitto*, void* selbst, int rc);
    static void beiTrennung(mosquitto*, void* selbst, int rc);
    static void beiVeroeffentlicht(mosquitto*, void* selbst, int mid);
    static void beiProtokoll(mosquitto*, void* selbst, int stufe, const char* text);
};

}  // namespace tonwerk::werkzeug
