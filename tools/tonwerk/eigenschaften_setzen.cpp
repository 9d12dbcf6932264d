#include "eigenschaften_setzen.h"

#include <charconv>
#include <stdexcept>

#include "tonwerk/core/mitglieder.h"

namespace tonwerk::werkzeug {

namespace {

Wert zahl(const std::string& name, const std::string& text, bool boolesch) {
    if (boolesch) {
        if (text == "True" || text == "true" || text == "Wahr") return Long{-1};
        if (text == "False" || text == "false" || text == "Falsch") return Long{0};
    }
    Long v = 0;
    const char* ende = text.data() + text.size();
    auto [p, fehler] = std::from_chars(text.data(), ende, v);
    if (fehler == std::errc::result_out_of_range)
        throw std::out_of_range(name + ": " + text + " liegt außerhalb des Wertebereichs");
    if (fehler != std::errc() || p != ende || text.empty())
        throw std::invalid_argument(name + ": \"" + text + "\" ist keine Zahl");
    return v;
}

}  // namespace

void eigenschaftSetzen(Funkwandler& fw, const std::string& zuweisung) {
    const auto gleich = zuweisung.find('=');
    if (gleich == std::string::npos) throw std::invalid_argument("--set erwartet NAME=WERT, nicht \"" + zuweisung + "\"");
    const std::string name = zuweisung.substr(0, gleich);
    const std::string text = zuweisung.substr(gleich + 1);
    const Mitglied* m = findeMitglied(name);
    if (!m || m->art != Art::Eigenschaft) throw std::invalid_argument("Unbekannte Eigenschaft: " + name);
    if (m->typ == "String")
        fw.schreiben(name, text);
    else
        fw.schreiben(name, zahl(name, text, m->typ == "Boolean"));
}

void eigenschaftenSetzen(Funkwandler& fw, const std::vector<std::string>& zuweisungen) {
    for (const std::string& z : zuweisungen) eigenschaftSetzen(fw, z);
}

}  // namespace tonwerk::werkzeug
