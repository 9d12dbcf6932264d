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

bool nummerEntfernen(const std::filesystem::path& datei, std::size_t index, const Nummerneintrag& erwartet) {
    const auto inhalt = dateiAnfangLesen(datei, kNummernHoechstensBytes);
    if (!inhalt) return false;
    const std::string_view text = *inhalt;
    // Find the line of that record by reading line by line as the reader does.
    std::size_t satz = 0;
    std::optional<std::string_view> gefunden;
    zeilenDurchgehen(text, [&](std::string_view zeile) {
        const Nummerntabelle t = nummernAusText(zeile);
        if (t.empty()) return true;  // left out by the reader: not counted
        if (satz++ == index) {
            if (t.front() == erwartet) gefunden = zeile;
            return false;
        }
        return true;
    });
    if (!gefunden) return false;
    std::size_t anfang = static_cast<std::size_t>(gefunden->data() - text.data());
    std::size_t ende = anfang + gefunden->size();
    if (ende < text.size()) ende += text[ende] == '\r' && ende + 1 < text.size() && text[ende + 1] == '\n' ? 2 : 1;
    std::string neu(text.substr(0, anfang));
    neu += text.substr(ende);
    dateiErsetzen(datei, neu);
    return true;
}

}  // namespace rufpilot
