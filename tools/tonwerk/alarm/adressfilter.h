// Which messages the receiver prints and forwards, by address: --nur and
// --ohne entries of the form ART:MUSTER (or ART;MUSTER as in the alias file)
// for fms (Kennung), pocsag (RIC, optionally /FUNKTION), zvei (number) and
// tonruf (0-3), the pattern with * for any run of characters and ? for one.
// With --nur entries only matching messages pass; then --ohne entries drop
// what they match. Events that are no messages always pass.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace tonwerk::werkzeug {

// True when `text` matches `muster` (* any run, ? one character).
bool musterPasst(const std::string& muster, const std::string& text);

class Adressfilter {
public:
    // Throws std::invalid_argument saying what is wrong with the entry.
    void nurHinzufuegen(const std::string& eintrag) { nur_.push_back(lesen(eintrag)); }
    void ohneHinzufuegen(const std::string& eintrag) { ohne_.push_back(lesen(eintrag)); }

    // `art` as mqttArt names it; empty for events that are no messages.
    bool durchlassen(const std::string& art, const nlohmann::ordered_json& felder) const;
    bool leer() const { return nur_.empty() && ohne_.empty(); }

private:
    struct Eintrag {
        std::string art;
        std::string muster;          // of the address
        std::string funktionsmuster;  // pocsag: of the function 1-4; empty: any
    };
    std::vector<Eintrag> nur_;
    std::vector<Eintrag> ohne_;

    static Eintrag lesen(const std::string& eintrag);
    static bool passt(const Eintrag& e, const std::string& art, const nlohmann::ordered_json& felder);
};

}  // namespace tonwerk::werkzeug
