// Fuzz target: arbitrary bytes as the tool's alarm receiver reads them from
// people: a settings file, an alias file, address list entries, topic
// templates and broker addresses. Each may refuse its input with its own
// error, never crash or read past it; a topic made from a template holds no
// wildcard.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>

#include "alarm/adressfilter.h"
#include "alarm/alias_tabelle.h"
#include "alarm/mqtt_adresse.h"
#include "alarm/themenvorlage.h"
#include "bedienfehler.h"
#include "einstellungsdatei.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace tonwerk::werkzeug;
    const std::string text(reinterpret_cast<const char*>(daten), groesse);
    try {
        std::istringstream ein(text);
        einstellungenLesen(ein, "f", "listen");
    } catch (const Bedienfehler&) {
    }
    try {
        std::istringstream ein(text);
        AliasTabelle t;
        t.laden(ein, "f");
    } catch (const std::runtime_error&) {
    }
    try {
        Adressfilter a;
        a.nurHinzufuegen(text);
        a.durchlassen("pocsag", nlohmann::ordered_json{{"RIC", 1234567}, {"Funktion", 1}});
    } catch (const std::invalid_argument&) {
    }
    musterPasst(text, "6A1B2345");
    try {
        const std::string thema = Themenvorlage(text).thema(
            "p", "fms", nlohmann::ordered_json{{"Kennung", text}, {"Name", text}, {"kanalname", "links"}});
        if (thema.find_first_of("+#") != std::string::npos) std::abort();
    } catch (const std::invalid_argument&) {
    }
    try {
        mqttAdresseLesen(text);
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
