#include "alarm/themenvorlage.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string_view>

namespace tonwerk::werkzeug {

namespace {

constexpr std::array<std::string_view, 9> kPlatzhalter = {"praefix", "art",    "kanal", "ric", "funktion",
                                                          "kennung", "status", "zvei",  "name"};
constexpr std::array<std::string_view, 4> kArten = {"fms", "pocsag", "zvei", "tonruf"};

std::string feldText(const nlohmann::ordered_json& n, const char* feld) {
    const auto it = n.find(feld);
    if (it == n.end() || it->is_null()) return "";
    return it->is_string() ? it->get<std::string>() : it->dump();
}

std::string wert(const std::string& name, const std::string& praefix, const std::string& art,
                 const nlohmann::ordered_json& n) {
    if (name == "praefix") return praefix;  // may hold levels on purpose
    std::string w;
    if (name == "art") w = art;
    else if (name == "kanal") w = feldText(n, "kanalname");
    else if (name == "ric") w = feldText(n, "RIC");
    else if (name == "funktion") w = feldText(n, "Funktion");
    else if (name == "kennung") w = feldText(n, "Kennung");
    else if (name == "status") w = feldText(n, "Status");
    else if (name == "zvei") w = feldText(n, "ZVEINr");
    else if (name == "name") w = feldText(n, "Name");
    if (w.empty()) return "-";
    std::replace_if(w.begin(), w.end(), [](char c) { return c == '/' || c == '+' || c == '#' || c == '\0'; }, '_');
    return w;
}

}  // namespace

Themenvorlage::Themenvorlage(const std::string& vorlage) {
    const auto fehler = [&vorlage](const std::string& was) {
        return std::invalid_argument("Themenvorlage \"" + vorlage + "\": " + was);
    };
    std::string fest;
    for (std::size_t i = 0; i < vorlage.size(); ++i) {
        const char c = vorlage[i];
        if (c == '}') throw fehler("} ohne {");
        if (c == '+' || c == '#') throw fehler("+ und # sind Platzhalter beim Abonnieren, nicht im Thema");
        if (c != '{') {
            fest += c;
            continue;
        }
        const auto zu = vorlage.find('}', i);
        if (zu == std::string::npos) throw fehler("{ ohne }");
        const std::string name = vorlage.substr(i + 1, zu - i - 1);
        if (std::find(kPlatzhalter.begin(), kPlatzhalter.end(), name) == kPlatzhalter.end()) {
            std::string liste;
            for (auto p : kPlatzhalter) liste += (liste.empty() ? "{" : ", {") + std::string(p) + "}";
            throw fehler("unbekannter Platzhalter {" + name + "}; bekannt sind " + liste);
        }
        if (!fest.empty()) teile_.push_back({false, fest});
        fest.clear();
        teile_.push_back({true, name});
        i = zu;
    }
    if (!fest.empty()) teile_.push_back({false, fest});
    if (vorlage.empty() || vorlage.front() == '/' || vorlage.back() == '/' ||
        vorlage.find("//") != std::string::npos)
        throw fehler("leere Themenebene (/ am Anfang, am Ende oder doppelt)");
}

std::string Themenvorlage::thema(const std::string& praefix, const std::string& art,
                                 const nlohmann::ordered_json& nachricht) const {
    std::string t;
    for (const auto& teil : teile_) t += teil.platzhalter ? wert(teil.text, praefix, art, nachricht) : teil.text;
    return t;
}

Themenvorlagen::Themenvorlagen(const std::vector<std::string>& werte) {
    bool allgemeinGesetzt = false;
    for (const auto& w : werte) {
        const auto gleich = w.find('=');
        const std::string art = gleich == std::string::npos ? "" : w.substr(0, gleich);
        if (std::find(kArten.begin(), kArten.end(), art) != kArten.end()) {
            for (const auto& [a, v] : jeArt_)
                if (a == art) throw std::invalid_argument("--mqtt-thema: zwei Vorlagen für " + art);
            jeArt_.emplace_back(art, Themenvorlage(w.substr(gleich + 1)));
        } else {
            if (allgemeinGesetzt) throw std::invalid_argument("--mqtt-thema: zwei Vorlagen für alle Arten");
            allgemein_ = Themenvorlage(w);
            allgemeinGesetzt = true;
        }
    }
}

const Themenvorlage& Themenvorlagen::fuer(const std::string& art) const {
    for (const auto& [a, v] : jeArt_)
        if (a == art) return v;
    return allgemein_;
}

}  // namespace tonwerk::werkzeug
