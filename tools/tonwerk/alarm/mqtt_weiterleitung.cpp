#include "alarm/mqtt_weiterleitung.h"

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace tonwerk::werkzeug {

namespace {

double monotoneSekunden() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string fehlertext(int rc) {
    if (rc == MOSQ_ERR_ERRNO) return std::strerror(errno);
    if (rc == MOSQ_ERR_EAI) return "Name nicht auflösbar";
    return mosquitto_strerror(rc);
}

}  // namespace

MqttWeiterleitung::MqttWeiterleitung(MqttEinstellungen e, std::ostream& meldungen, std::function<double()> uhr)
    : e_(std::move(e)), meldungen_(meldungen), uhr_(uhr ? std::move(uhr) : monotoneSekunden) {
    static std::once_flag einmal;
    std::call_once(einmal, [] {
        mosquitto_lib_init();
        // A write to a broker that just went away must not end the process.
        std::signal(SIGPIPE, SIG_IGN);
    });
    if (e_.puffer == 0) throw std::invalid_argument("MQTT-Puffer muss mindestens 1 Meldung fassen");
    m_ = mosquitto_new(e_.clientId.empty() ? nullptr : e_.clientId.c_str(), true, this);
    if (!m_) throw std::runtime_error("MQTT: libmosquitto legt keinen Client an");
    mosquitto_int_option(m_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_max_inflight_messages_set(m_, static_cast<unsigned>(fenster));
    mosquitto_connect_callback_set(m_, beiVerbindung);
    mosquitto_disconnect_callback_set(m_, beiTrennung);
    mosquitto_publish_callback_set(m_, beiVeroeffentlicht);
    mosquitto_log_callback_set(m_, beiProtokoll);
    const auto& a = e_.adresse;
    if (!a.benutzer.empty() &&
        mosquitto_username_pw_set(m_, a.benutzer.c_str(), a.passwort.empty() ? nullptr : a.passwort.c_str()) !=
            MOSQ_ERR_SUCCESS)
        throw std::runtime_error("MQTT: Benutzername oder Passwort unbrauchbar");
    if (a.tls || !e_.caDatei.empty()) {
        const char* ca = e_.caDatei.empty() ? nullptr : e_.caDatei.c_str();
        const int rc = mosquitto_tls_set(m_, ca, ca ? nullptr : "/etc/ssl/certs",
                                         e_.zertifikat.empty() ? nullptr : e_.zertifikat.c_str(),
                                         e_.schluessel.empty() ? nullptr : e_.schluessel.c_str(), nullptr);
        if (rc != MOSQ_ERR_SUCCESS)
            throw std::runtime_error("MQTT-TLS lässt sich nicht einrichten (" + fehlertext(rc) +
                                     "): CA-Datei, Zertifikat und Schlüssel prüfen");
    }
    const std::string offline = "offline";
    mosquitto_will_set(m_, statusThema().c_str(), static_cast<int>(offline.size()), offline.data(), 1, true);
}

MqttWeiterleitung::~MqttWeiterleitung() {
    verbinderAbwarten();
    if (m_) {
        if (zustand_ != Zustand::getrennt) mosquitto_disconnect(m_);
        mosquitto_destroy(m_);
    }
}

std::string MqttWeiterleitung::broker() const {
    return e_.adresse.host + ":" + std::to_string(e_.adresse.port);
}

void MqttWeiterleitung::zustandMelden(const std::string& zeile) {
    meldungen_ << zeile << '\n';
    meldungen_.flush();
    // Also for the monitors on the broker, now or once it takes messages again.
    if (statusZeilen_.size() >= 10) statusZeilen_.pop_front();
    statusZeilen_.push_back(zeile);
    statusZeilenSenden();
}

void MqttWeiterleitung::statusZeilenSenden() {
    if (zustand_ != Zustand::verbunden) return;
    const std::string thema = statusThema() + "/meldung";
    while (!statusZeilen_.empty()) {
        const std::string& z = statusZeilen_.front();
        if (mosquitto_publish(m_, nullptr, thema.c_str(), static_cast<int>(z.size()), z.data(), 1, true) !=
            MOSQ_ERR_SUCCESS)
            return;
        statusZeilen_.pop_front();
    }
}

std::string MqttWeiterleitung::grund(int rc) {
    std::string text = fehlertext(rc);
    if (rc == MOSQ_ERR_TLS && !tlsFehler_.empty()) text = "TLS: " + tlsFehler_;
    tlsFehler_.clear();
    return text;
}

void MqttWeiterleitung::verbinden() {
    // Non-blocking: a broker host that has gone silent must not stall the audio
    // loop for the minutes a TCP connect can take; mosquitto_loop finishes it.
    // The name lookup inside the library blocks, for seconds when DNS is away,
    // so the attempt starts on a helper thread that has the library's handle to
    // itself until bedienen() sees it done.
    const bool erst = !jemalsVersucht_;
    jemalsVersucht_ = true;
    zustand_ = Zustand::aufloesend;
    verbinderFertig_.store(false, std::memory_order_relaxed);
    verbinder_ = std::thread([this, erst] {
        verbinderRc_ = erst ? mosquitto_connect_async(m_, e_.adresse.host.c_str(), e_.adresse.port, e_.keepaliveSek)
                            : mosquitto_reconnect_async(m_);
        verbinderFertig_.store(true, std::memory_order_release);
    });
}

void MqttWeiterleitung::verbinderAbwarten() {
    if (verbinder_.joinable()) verbinder_.join();
}

bool MqttWeiterleitung::verbinderPruefen(int wartenMs) {
    if (!verbinderFertig_.load(std::memory_order_acquire)) {
        if (wartenMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(std::min(wartenMs, 5)));
        return false;
    }
    verbinderAbwarten();
    if (verbinderRc_ != MOSQ_ERR_SUCCESS) {
        verloren(grund(verbinderRc_));
        return false;
    }
    zustand_ = Zustand::verbindend;
    verbindendSeit_ = uhr_();
    return true;
}

void MqttWeiterleitung::verloren(const std::string& grund, const char* was) {
    const bool warVerbunden = zustand_ == Zustand::verbunden;
    zustand_ = Zustand::getrennt;
    if (warVerbunden) rueckzug_.zuruecksetzen();
    // Once per change: a broker that stays away is not reported at every attempt,
    // but a new reason (now reachable, but the login is refused) is.
    const std::string art = was ? was : warVerbunden ? "getrennt" : "nicht erreichbar";
    if (art + grund != gemeldeterGrund_) {
        zustandMelden("MQTT-Broker " + broker() + " " + art + " (" + grund + "); Meldungen warten (höchstens " +
                      std::to_string(e_.puffer) + "), neuer Versuch folgt");
        gemeldeterGrund_ = art + grund;
    }
    naechsterVersuch_ = uhr_() + rueckzug_.naechste();
}

void MqttWeiterleitung::ablehnungPruefen() {
    if (abgelehnt_ == 0) return;
    const int rc = abgelehnt_;
    abgelehnt_ = 0;
    // Retried like any other failure: the broker's accounts may be mended while
    // the receiver goes on decoding.
    if (rc == 4 || rc == 5)
        verloren("Benutzername oder Passwort falsch: --mqtt-benutzer, --mqtt-passwort", "lehnt die Anmeldung ab");
    else
        verloren(mosquitto_connack_string(rc), "lehnt die Verbindung ab");
}

void MqttWeiterleitung::starten(double warteSek) {
    verbinden();
    const double grenze = uhr_() + warteSek;
    while (verbindet() && uhr_() < grenze) bedienen(50);
    ablehnungPruefen();
    if (verbindet()) zustandMelden("MQTT-Broker " + broker() + " antwortet noch nicht; Meldungen warten");
}

void MqttWeiterleitung::senden(const std::string& thema, const std::string& nutzlast, bool behalten) {
    if (schlange_.anstellen({thema, nutzlast, behalten}, zahlen_) && !verwerfenGemeldet_) {
        zustandMelden("MQTT-Warteschlange voll (" + std::to_string(e_.puffer) + "): älteste Meldungen werden verworfen");
        verwerfenGemeldet_ = true;
    }
    weitergeben();
}

void MqttWeiterleitung::weitergeben() {
    // After a reconnect the library sends what it still holds as soon as the
    // broker accepts, before anything handed over later.
    if (zustand_ != Zustand::verbunden) return;
    while (!schlange_.leer() && ausstehend_.size() < fenster) {
        const Nachricht& n = schlange_.vorne();
        int mid = 0;
        const int rc = mosquitto_publish(m_, &mid, n.thema.c_str(), static_cast<int>(n.nutzlast.size()),
                                         n.nutzlast.data(), 1, n.behalten);
        if (rc == MOSQ_ERR_SUCCESS || rc == MOSQ_ERR_NO_CONN || rc == MOSQ_ERR_CONN_LOST) {
            // Queued by the library in every one of these cases: never publish it again.
            ausstehend_.insert(mid);
            schlange_.entnehmen();
            if (rc != MOSQ_ERR_SUCCESS) {
                verloren(grund(rc));
                return;
            }
        } else {
            meldungen_ << "MQTT: Meldung an " << n.thema << " verworfen (" << fehlertext(rc) << ")\n";
            ++zahlen_.verworfen;
            schlange_.entnehmen();
        }
    }
}

void MqttWeiterleitung::bedienen(int wartenMs) {
    if (zustand_ == Zustand::getrennt) {
        if (uhr_() >= naechsterVersuch_) verbinden();
        if (zustand_ == Zustand::getrennt) {
            if (wartenMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wartenMs));
            return;
        }
    }
    if (zustand_ == Zustand::aufloesend && !verbinderPruefen(wartenMs)) return;
    if (zustand_ == Zustand::verbindend && uhr_() - verbindendSeit_ > antwortFrist) {
        // Accepted but never answered: the library would wait for ever. The
        // next reconnect closes this connection.
        verloren("keine Antwort");
        return;
    }
    const int rc = mosquitto_loop(m_, wartenMs, 1);
    ablehnungPruefen();
    if (rc != MOSQ_ERR_SUCCESS && zustand_ != Zustand::getrennt) verloren(grund(rc));
    weitergeben();
}

bool MqttWeiterleitung::abschliessen(double warteSek) {
    const double grenze = uhr_() + warteSek;
    while (!leer() && uhr_() < grenze) bedienen(50);
    const bool alles = leer();
    // An attempt under way owns the library's handle until it is done.
    verbinderAbwarten();
    if (zustand_ == Zustand::aufloesend) verbinderPruefen(0);
    if (!alles) {
        meldungen_ << "MQTT: " << wartend() << " Meldungen nicht zugestellt, Broker " << broker()
                   << (verbunden() ? " bestätigt nicht" : " nicht erreichbar") << '\n';
    }
    if (verbunden()) {
        const std::string offline = "offline";
        offlineBestaetigt_ = false;
        if (mosquitto_publish(m_, &offlineMid_, statusThema().c_str(), static_cast<int>(offline.size()),
                              offline.data(), 1, true) == MOSQ_ERR_SUCCESS) {
            const double ende = uhr_() + std::min(warteSek, 2.0);
            while (verbunden() && !offlineBestaetigt_ && uhr_() < ende) bedienen(50);
        }
        zustand_ = Zustand::getrennt;  // a disconnect asked for is no loss to report
        mosquitto_disconnect(m_);
        mosquitto_loop(m_, 0, 1);
    }
    zustand_ = Zustand::getrennt;
    return alles;
}

void MqttWeiterleitung::beiVerbindung(mosquitto* m, void* selbst, int rc) {
    auto& w = *static_cast<MqttWeiterleitung*>(selbst);
    if (rc != 0) {
        w.abgelehnt_ = rc;
        w.zustand_ = Zustand::getrennt;
        return;
    }
    w.zustand_ = Zustand::verbunden;
    w.rueckzug_.zuruecksetzen();
    const std::string online = "online";
    mosquitto_publish(m, &w.onlineMid_, w.statusThema().c_str(), static_cast<int>(online.size()), online.data(), 1,
                      true);
    if (!w.gemeldeterGrund_.empty()) {
        std::string zeile = "MQTT-Broker " + w.broker() + " wieder verbunden";
        if (w.zahlen_.verworfen > 0) zeile += ", " + std::to_string(w.zahlen_.verworfen) + " Meldungen bisher verworfen";
        w.zustandMelden(zeile);
    }
    w.statusZeilenSenden();
    w.gemeldeterGrund_.clear();
    w.verwerfenGemeldet_ = false;
}

void MqttWeiterleitung::beiTrennung(mosquitto*, void* selbst, int rc) {
    auto& w = *static_cast<MqttWeiterleitung*>(selbst);
    if (w.zustand_ != Zustand::getrennt) w.verloren(rc == 0 ? "getrennt" : w.grund(rc));
}

void MqttWeiterleitung::beiProtokoll(mosquitto*, void* selbst, int stufe, const char* text) {
    // The library says what OpenSSL objects to only here; its return code is
    // just "A TLS error occurred".
    auto& w = *static_cast<MqttWeiterleitung*>(selbst);
    const std::string_view t = text ? text : "";
    constexpr std::string_view openssl = "OpenSSL Error[";
    if (!(stufe & MOSQ_LOG_ERR) || t.rfind(openssl, 0) != 0 || !w.tlsFehler_.empty()) return;
    const auto doppel = t.find("]: ");
    w.tlsFehler_ = std::string(doppel == std::string_view::npos ? t : t.substr(doppel + 3));
}

void MqttWeiterleitung::beiVeroeffentlicht(mosquitto*, void* selbst, int mid) {
    auto& w = *static_cast<MqttWeiterleitung*>(selbst);
    if (mid == w.offlineMid_) w.offlineBestaetigt_ = true;
    if (w.ausstehend_.erase(mid) > 0) ++w.zahlen_.zugestellt;
}

}  // namespace tonwerk::werkzeug
