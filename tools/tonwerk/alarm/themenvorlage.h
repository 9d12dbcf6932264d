// The MQTT topic of a message from a template (--mqtt-thema), so a subscriber
// can follow one pager or one vehicle without filtering payloads. Placeholders:
// {praefix} {art} {kanal} (links/rechts) {ric} {funktion} (1-4) {kennung}
// {status} {zvei} {name} (the alias); one the message does not have becomes
// "-". Values never add topic levels or wildcards: '/', '+' and '#' in them
// become '_'.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

class Themenvorlage {
public:
    static constexpr const char* standard = "{praefix}/{art}/{kanal}";

    // Throws std::invalid_argument on an unknown placeholder, an unclosed
    // brace, + or # in the fixed text, or empty topic levels.
    explicit Themenvorlage(const std::string& vorlage = standard);

    // `nachricht` is the message as sent (kanalname and the event's fields).
    std::string thema(const std::string& praefix, const std::string& art,
                      const nlohmann::ordered_json& nachricht) const;

private:
    struct Teil {
        bool platzhalter;
        std::string text;  // fixed text or the placeholder's name
    };
    std::vector<Teil> teile_;
};

// The templates of all kinds from the --mqtt-thema values: VORLAGE for every
// kind or ART=VORLAGE for one (fms, pocsag, zvei, tonruf), the later kind-
// specific one before the general one.
class Themenvorlagen {
public:
    // Throws std::invalid_argument naming the faulty value.
    explicit Themenvorlagen(const std::vector<std::string>& werte = {});
    const Themenvorlage& fuer(const std::string& art) const;

private:
    Themenvorlage allgemein_;
    std::vector<std::pair<std::string, Themenvorlage>> jeArt_;
};

}  // namespace tonwerk::werkzeug
