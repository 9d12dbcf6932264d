// Between the control's events and the tool's output: drops repeated alarms,
// adds meanings and names, stamps each message with the wall-clock time and
// hands it to every output (MQTT, ...) as the same JSON object that --json
// prints.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "alarm/adressfilter.h"
#include "alarm/alias_tabelle.h"
#include "alarm/doppelfilter.h"
#include "alarm/meldungsausgang.h"

namespace tonwerk::werkzeug {

class EreignisAusgabe;

class AlarmWeiche {
public:
    AlarmWeiche(double doppeltSek, AliasTabelle aliase, Adressfilter adressen = {});

    void ausgangHinzufuegen(std::unique_ptr<Meldungsausgang> ausgang);

    // Sees the event before it is printed (EreignisAusgabe::weiche): false for a
    // message the address lists exclude and for a repeat, else adds the meanings to `felder`, the time stamp and channel
    // name to `kopf` (which holds event and time) and hands the message on.
    bool pruefen(const char* name, double zeit, nlohmann::ordered_json& kopf, nlohmann::ordered_json& felder);
    bool pruefen(const char* name, double zeit, nlohmann::ordered_json& felder);
    // Installs pruefen() as the printer's hook.
    void anschliessen(EreignisAusgabe& ausgabe);
    // Lets the outputs' traffic run; call often from the tool's loop.
    void bedienen();
    // Waits up to `warteSek` for each output's delivery and reports the counts.
    // False when an output lost messages.
    bool abschliessen(double warteSek, std::ostream& bericht);

    const Doppelfilter& filter() const { return filter_; }
    const AliasTabelle& aliase() const { return aliase_; }
    const std::vector<std::unique_ptr<Meldungsausgang>>& ausgaenge() const { return ausgaenge_; }

private:
    Doppelfilter filter_;
    AliasTabelle aliase_;
    Adressfilter adressen_;
    std::vector<std::unique_ptr<Meldungsausgang>> ausgaenge_;
};

// The message kind of an event name ("fms", ...); empty for events that carry
// no message (signal level, buffer overflow, ...).
std::string mqttArt(const char* name);
// What the repeat filter compares of a message of kind `art`: FMS telegrams per
// vehicle (Kennung) by their content, POCSAG by RIC, function and text, ZVEI
// by number.
struct Wiederholungsmerkmal {
    std::string absender;
    std::string inhalt;
};
Wiederholungsmerkmal wiederholungsmerkmal(const std::string& art, const nlohmann::ordered_json& felder);
// The wall-clock time now, UTC, ISO 8601 with milliseconds.
std::string zeitstempelJetzt();
// The head of a message: "event", "time", "zeitstempel" and "kanalname"
// (links/rechts; the number is the event's own "Kanal", and no two names may
// differ only in case, which case-blind JSON readers merge or refuse).
nlohmann::ordered_json nachrichtKopf(const char* name, double zeit, const nlohmann::ordered_json& felder,
                                     const std::string& zeitstempel);
// The whole message of an event as sent: its head, then its fields.
nlohmann::ordered_json mqttNachricht(const char* name, double zeit, const nlohmann::ordered_json& felder);

}  // namespace tonwerk::werkzeug
