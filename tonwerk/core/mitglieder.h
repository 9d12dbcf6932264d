// The control's member table: every method, property and event in the order of
// its dispatch interface, with kind, type, default and German help text. Hosts
// list it and reach members by name through Funkwandler::lesen/schreiben/aufrufen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tonwerk {

enum class Art { Methode, Eigenschaft, Ereignis };

// Which accessor of a property an entry stands for; methods and events use Beides.
enum class Zugriff { Lesen, Schreiben, Beides };

struct Mitglied {
    std::string name;
    Art art;
    Zugriff zugriff;
    std::string typ;        // "Long", "Integer", "Boolean", "String", "Variant"; result type for methods
    std::string parameter;  // methods and events: their parameter list
    std::string standard;   // properties: the default as text
    std::string hilfe;      // lines joined by CR LF; empty where the member has none
};

const std::vector<Mitglied>& mitglieder();

// The first entry of the given name (for properties listed twice, the getter), or null.
const Mitglied* findeMitglied(std::string_view name);

}  // namespace tonwerk
