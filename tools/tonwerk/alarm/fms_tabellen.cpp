#include "alarm/fms_tabellen.h"

#include <array>

namespace tonwerk::werkzeug {

namespace {

bool imBereich(int wert) { return wert >= 0 && wert <= 15; }

const std::array<const char*, 16> organisationen = {
    "nicht vergeben",           "Polizei",
    "Bundespolizei",            "Bundeskriminalamt",
    "Katastrophenschutz",       "Zoll",
    "Feuerwehr",                "Technisches Hilfswerk",
    "Arbeiter-Samariter-Bund",  "Deutsches Rotes Kreuz",
    "Johanniter-Unfall-Hilfe",  "Malteser Hilfsdienst",
    "Deutsche Lebens-Rettungs-Gesellschaft", "Rettungsdienst (sonstige)",
    "Zivilschutz",              "Fernwirktelegramm",
};

const std::array<const char*, 14> laender = {
    "Sachsen",  "Bund",   "Baden-Württemberg",   "Bayern I",         "Berlin",         "Bremen",   "Hamburg",
    "Hessen",   "Niedersachsen", "Nordrhein-Westfalen", "Rheinland-Pfalz", "Schleswig-Holstein", "Saarland", "Bayern II",
};

const std::array<const char*, 16> fahrzeugStatus = {
    "Priorisierter Sprechwunsch", "Einsatzbereit über Funk", "Einsatzbereit auf Wache", "Einsatz übernommen",
    "Am Einsatzort",              "Sprechwunsch",            "Nicht einsatzbereit",     "Patient aufgenommen",
    "Am Transportziel",           "Fremdanmeldung",          "Folgetelegramm",          "Sonderstatus B",
    "Sonderstatus C",             "Sonderstatus D",          "Sonderstatus E",          "Sonderstatus F",
};

struct Auftrag {
    const char* zeichen;
    const char* text;
};

const std::array<Auftrag, 16> leitstellenStatus = {{
    {"0", "Statusabfrage"},
    {"A", "Sammelruf"},
    {"E", "Einrücken / Einsatz abbrechen"},
    {"C", "Melden für Einsatzübernahme"},
    {"F", "Über Draht melden"},
    {"H", "Wache anfahren"},
    {"J", "Sprechaufforderung"},
    {"L", "Lagemeldung geben"},
    {"P", "Einsatz mit Polizei"},
    {"d", "Transportziel angeben"},
    {"T", "Kurztext"},
    {"h", "Zielklinik verständigt"},
    {"o", "Warten, alle Abfragen belegt"},
    {"u", "Verstanden"},
    {"Q", "Quittung"},
    {"Q", "Quittung"},
}};

}  // namespace

std::string fmsOrganisation(int bos) { return imBereich(bos) ? organisationen[static_cast<std::size_t>(bos)] : ""; }

std::string fmsLand(int land, const std::string& ort) {
    if (!imBereich(land)) return "";
    if (land < 14) return laender[static_cast<std::size_t>(land)];
    const char* nord = land == 14 ? "Mecklenburg-Vorpommern" : "Brandenburg";
    const char* sued = land == 14 ? "Sachsen-Anhalt" : "Thüringen";
    if (ort.empty() || ort[0] < '0' || ort[0] > '9') return std::string(nord) + " / " + sued;
    return ort[0] < '5' ? nord : sued;
}

std::string fmsStatusZeichen(int status, int richtung) {
    if (!imBereich(status)) return "";
    if (richtung != 0) return leitstellenStatus[static_cast<std::size_t>(status)].zeichen;
    return std::string(1, "0123456789ABCDEF"[status]);
}

std::string fmsStatusText(int status, int richtung) {
    if (!imBereich(status)) return "";
    const auto i = static_cast<std::size_t>(status);
    return richtung != 0 ? leitstellenStatus[i].text : fahrzeugStatus[i];
}

bool fmsIstQuittung(int status, int richtung) { return richtung != 0 && status >= 14 && status <= 15; }

}  // namespace tonwerk::werkzeug
