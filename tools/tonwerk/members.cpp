// tonwerk members: lists the control's member table.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "befehle.h"
#include "tonwerk/core/mitglieder.h"

namespace tonwerk::werkzeug {

namespace {

const char* artName(const Mitglied& m) {
    switch (m.art) {
        case Art::Methode: return "Methode";
        case Art::Ereignis: return "Ereignis";
        case Art::Eigenschaft: break;
    }
    switch (m.zugriff) {
        case Zugriff::Lesen: return "Eigenschaft (lesen)";
        case Zugriff::Schreiben: return "Eigenschaft (schreiben)";
        case Zugriff::Beides: break;
    }
    return "Eigenschaft";
}

void auflisten(bool json) {
    for (const Mitglied& m : mitglieder()) {
        if (json) {
            nlohmann::ordered_json j{{"name", m.name}, {"art", artName(m)}, {"typ", m.typ},
                                     {"parameter", m.parameter}, {"standard", m.standard}, {"hilfe", m.hilfe}};
            std::cout << j.dump() << '\n';
            continue;
        }
        std::cout << m.name << "  [" << artName(m) << "]";
        if (!m.typ.empty()) std::cout << "  " << m.typ;
        if (!m.parameter.empty()) std::cout << "  (" << m.parameter << ")";
        if (!m.standard.empty()) std::cout << "  Standard: " << m.standard;
        std::cout << '\n';
        std::string hilfe = m.hilfe;
        for (std::size_t pos = 0; !hilfe.empty();) {
            const auto ende = hilfe.find("\r\n", pos);
            std::cout << "    " << hilfe.substr(pos, ende - pos) << '\n';
            if (ende == std::string::npos) break;
            pos = ende + 2;
        }
    }
}

}  // namespace

void membersBefehl(CLI::App& app) {
    auto json = std::make_shared<bool>(false);
    CLI::App* cmd = app.add_subcommand("members", "Methoden, Eigenschaften und Ereignisse des Steuerelements auflisten");
    cmd->add_flag("--json", *json, "Ein JSON-Objekt je Mitglied");
    cmd->callback([json] { auflisten(*json); });
}

}  // namespace tonwerk::werkzeug
