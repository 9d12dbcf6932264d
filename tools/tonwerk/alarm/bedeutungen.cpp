#include "alarm/bedeutungen.h"

#include <string_view>

#include "alarm/fms_tabellen.h"
#include "alarm/zusatztoene.h"

namespace tonwerk::werkzeug {

namespace {

template <typename T>
T feld(const nlohmann::ordered_json& felder, const char* name, T ersatz) {
    const auto it = felder.find(name);
    if (it == felder.end()) return ersatz;
    try {
        return it->get<T>();
    } catch (const nlohmann::json::exception&) {
        return ersatz;
    }
}

void nameSetzen(nlohmann::ordered_json& felder, const std::optional<std::string>& name) {
    if (name) felder["Name"] = *name;
}

}  // namespace

void bedeutungenErgaenzen(const char* name, nlohmann::ordered_json& felder, const AliasTabelle& aliase) {
    const std::string_view art = name;
    if (art == "FMSDecodierung") {
        const int bos = feld(felder, "bos", -1);
        const int land = feld(felder, "land", -1);
        const int richtung = feld(felder, "Richtung", 0);
        // A follow-up telegram's Status holds the first digit of the follow-up
        // block; on air it is a vehicle's status 10, "Folgetelegramm".
        const int status = feld(felder, "isfolgetelegramm", 0) != 0 ? 10 : feld(felder, "Status", -1);
        felder["Organisation"] = fmsOrganisation(bos);
        felder["Bundesland"] = fmsLand(land, feld<std::string>(felder, "ort", ""));
        felder["Statuszeichen"] = fmsStatusZeichen(status, richtung);
        felder["Statustext"] = fmsStatusText(status, richtung);
        felder["Quittung"] = fmsIstQuittung(status, richtung);
        nameSetzen(felder, aliase.fms(feld<std::string>(felder, "Kennung", "")));
    } else if (art == "POCDecodierung") {
        const int funktion = feld(felder, "Funktion", 0);
        if (funktion >= 1 && funktion <= 4) felder["Funktionsbuchstabe"] = std::string(1, static_cast<char>('A' + funktion - 1));
        nameSetzen(felder, aliase.pocsag(feld(felder, "RIC", -1), funktion));
    } else if (art == "ZVEIDecodierung") {
        nameSetzen(felder, aliase.zvei(feld<std::string>(felder, "ZVEINr", "")));
    } else if (art == "ZusatztonDecodierung") {
        const int zusatzton = feld(felder, "Zusatzton", 0);
        felder["Frequenzen"] = zusatztonFrequenzen(zusatzton);
        felder["Bedeutung"] = zusatztonBedeutung(zusatzton);
    }
}

}  // namespace tonwerk::werkzeug
