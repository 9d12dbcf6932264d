#include "rufpilot/config/nummern_datei.h"

#include <algorithm>
#include <stdexcept>

#include "rufpilot/config/textdatei.h"
#include "tonwerk/formats/cp1252.h"

namespace rufpilot {

namespace {

// Splits off the text before the next TAB (all of it when there is none).
std::string_view feld(std::string_view& rest) {
    const std::size_t tab = rest.find('\t');
    const std::string_view vorne = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view{} : rest.substr(tab + 1);
    return vorne;
}

void pruefen(const std::string& text, const char* name) {
    if (text.find_first_of("\t,\r\n") != std::string::npos) {
        throw std::invalid_argument(std::string(name) + " darf weder Tabulator, Komma noch Zeilenumbruch enthalten: " +
                                    text);
    }
}

}  // namespace

Nummerntabelle nummernAusText(std::string_view inhalt) {
    Nummerntabelle tabelle;
    zeilenDurchgehen(inhalt.substr(0, kNummernHoechstensBytes), [&](std::string_view zeile) {
        const std::string_view satz = zeile.substr(0, zeile.find(','));
        if (satz.empty()) {
            tabelle.emplace_back();
        } else if (std::count(satz.begin(), satz.end(), '\t') >= 2) {
            std::string_view rest = satz;
            Nummerneintrag e;
            e.kennung = tonwerk::Cp1252ZuUtf8(feld(rest));
            e.telefon = tonwerk::Cp1252ZuUtf8(feld(rest));
            e.leitung = tonwerk::Cp1252ZuUtf8(feld(rest));
            tabelle.push_back(std::move(e));
        }
        return tabelle.size() < kNummernHoechstensEintraege;
    });
    return tabelle;
}

std::optional<Nummerntabelle> nummernLesen(const std::filesystem::path& datei) {
    const auto inhalt = dateiAnfangLesen(datei, kNummernHoechstensBytes);
    if (!inhalt) return std::nullopt;
    return nummernAusText(*inhalt);
}

std::string nummernZeile(const Nummerneintrag& eintrag) {
    pruefen(eintrag.kennung, "FMS-Kennung");
    pruefen(eintrag.telefon, "Telefonnummer");
    pruefen(eintrag.leitung, "Leitung");
    return tonwerk::Utf8ZuCp1252(eintrag.kennung + '\t' + eintrag.telefon + '\t' + eintrag.leitung);
}

void nummerAnhaengen(const std::filesystem::path& datei, const Nummerneintrag& eintrag) {
    zeileAnhaengen(datei, nummernZeile(eintrag));
}

void nummernSchreiben(const std::filesystem::path& datei, const Nummerntabelle& tabelle) {
    std::string inhalt;
    for (const auto& eintrag : tabelle) inhalt += nummernZeile(eintrag) + "\r\n";
    dateiErsetzen(datei, inhalt);
}

}  // namespace rufpilot
