#include "alarm/alarm_weiche.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string_view>

#include "alarm/bedeutungen.h"
#include "ereignis_ausgabe.h"

namespace tonwerk::werkzeug {

namespace {

using Json = nlohmann::ordered_json;

int kanalVon(const Json& felder) {
    const auto it = felder.find("Kanal");
    return it != felder.end() && it->is_number_integer() ? it->get<int>() : 0;
}

std::string feldText(const Json& felder, const char* name) {
    const auto it = felder.find(name);
    return it == felder.end() ? std::string() : it->dump();
}

}  // namespace

Wiederholungsmerkmal wiederholungsmerkmal(const std::string& art, const Json& felder) {
    // Only what the sender sent: fields a decoder adds about the reception
    // (corrections, levels) differ between the copies of one alarm.
    if (art == "fms") {
        std::string inhalt;
        for (const char* f : {"Richtung", "Status", "tki", "Baustufe", "Text", "folgenr", "iskurztext",
                              "isfolgetelegramm"})
            inhalt += feldText(felder, f) + '\x1f';
        return {feldText(felder, "Kennung"), inhalt};
    }
    if (art == "pocsag")
        return {feldText(felder, "RIC") + '/' + feldText(felder, "Funktion") + '/' + feldText(felder, "Text"), ""};
    if (art == "zvei") return {feldText(felder, "ZVEINr"), ""};
    return {felder.dump(), ""};
}

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

std::string mqttArt(const char* name) {
    const std::string_view n = name;
    if (n == "FMSDecodierung") return "fms";
    if (n == "ZVEIDecodierung") return "zvei";
    if (n == "POCDecodierung") return "pocsag";
    if (n == "TonrufDecodierungA") return "tonruf";
    return "";
}

Json nachrichtKopf(const char* name, double zeit, const Json& felder, const std::string& zeitstempel) {
    Json j;
    j["event"] = name;
    j["time"] = std::round(zeit * 1000.0) / 1000.0;
    j["zeitstempel"] = zeitstempel;
    j["kanalname"] = kanalVon(felder) == 1 ? "rechts" : "links";
    return j;
}

Json mqttNachricht(const char* name, double zeit, const Json& felder) {
    Json j = nachrichtKopf(name, zeit, felder, zeitstempelJetzt());
    for (const auto& [k, v] : felder.items()) j[k] = v;
    return j;
}

AlarmWeiche::AlarmWeiche(double doppeltSek, AliasTabelle aliase, Adressfilter adressen)
    : filter_(doppeltSek), aliase_(std::move(aliase)), adressen_(std::move(adressen)) {}

void AlarmWeiche::ausgangHinzufuegen(std::unique_ptr<Meldungsausgang> ausgang) {
    ausgaenge_.push_back(std::move(ausgang));
}

bool AlarmWeiche::pruefen(const char* name, double zeit, Json& felder) {
    Json kopf;
    return pruefen(name, zeit, kopf, felder);
}

bool AlarmWeiche::pruefen(const char* name, double zeit, Json& kopf, Json& felder) {
    const std::string art = mqttArt(name);
    if (art.empty()) return true;
    if (!adressen_.durchlassen(art, felder)) return false;
    // Tone calls are single tones a station may send on purpose again and again.
    if (art != "tonruf") {
        const auto [absender, inhalt] = wiederholungsmerkmal(art, felder);
        if (filter_.wiederholung(art, kanalVon(felder), absender, inhalt, zeit)) return false;
    }
    bedeutungenErgaenzen(name, felder, aliase_);
    const Json neu = nachrichtKopf(name, zeit, felder, zeitstempelJetzt());
    for (const auto& [k, v] : neu.items()) kopf[k] = v;
    if (!ausgaenge_.empty()) {
        Json nachricht = kopf;
        for (const auto& [k, v] : felder.items()) nachricht[k] = v;
        const std::string text = nachricht.dump(-1, ' ', false, Json::error_handler_t::replace);
        const Meldung m{name, art, zeit, nachricht, text};
        for (auto& a : ausgaenge_) a->melden(m);
    }
    return true;
}

void AlarmWeiche::anschliessen(EreignisAusgabe& ausgabe) {
    ausgabe.weiche = [this](const char* name, double zeit, Json& kopf, Json& felder) {
        return pruefen(name, zeit, kopf, felder);
    };
}

void AlarmWeiche::bedienen() {
    for (auto& a : ausgaenge_) a->bedienen();
}

bool AlarmWeiche::abschliessen(double warteSek, std::ostream& bericht) {
    if (filter_.unterdrueckt() > 0) bericht << "Wiederholte Alarme unterdrückt: " << filter_.unterdrueckt() << '\n';
    bool alles = true;
    for (auto& a : ausgaenge_) alles = a->abschliessen(warteSek, bericht) && alles;
    return alles;
}

}  // namespace tonwerk::werkzeug
