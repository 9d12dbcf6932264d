// The control's member table: every method, property and event in the order of
// its dispatch interface, with kind, type, default, German help text and the way
// to reach it by name. It is the one list of members: Funkwandler::lesen,
// schreiben and aufrufen look the name up here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tonwerk/core/wert.h"

namespace tonwerk {

class Funkwandler;

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
    // By name: a getter entry reads, a setter entry writes (Beides: both), a method
    // is called; null where the entry has no such access. Values that do not fit
    // the member's type throw std::invalid_argument or std::out_of_range.
    Wert (*lesen)(const Funkwandler&) = nullptr;
    void (*schreiben)(Funkwandler&, const Wert&) = nullptr;
    Wert (*aufrufen)(Funkwandler&, std::vector<Wert>&) = nullptr;
};

const std::vector<Mitglied>& mitglieder();

// The first entry of the given name (for properties listed twice, the getter), or null.
const Mitglied* findeMitglied(std::string_view name);

}  // namespace tonwerk
