#include "rufpilot/config/nummern_pruefung.h"

#include <algorithm>

#include "rufpilot/anrufe/rufnummer_text.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/config/textdatei.h"
#include "tonwerk/formats/cp1252.h"

namespace rufpilot {

namespace {

bool ziffer(char c) { return c >= '0' && c <= '9'; }

bool hex(char c) { return ziffer(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

}  // namespace

std::optional<std::string> kennungFehler(std::string_view kennung) {
    if (kennung.size() == 8 && std::all_of(kennung.begin(), kennung.end(), hex)) return std::nullopt;
    return "FMS-Kennung \"" + std::string(kennung) + "\" ist nicht 8-stellig hexadezimal";
}

std::string kennungGross(std::string_view kennung) {
    std::string gross(kennung);
    for (char& c : gross)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return gross;
}

std::optional<std::string> telefonNormalisiert(std::string_view telefon) {
    std::string nummer;
    for (std::size_t i = 0; i < telefon.size(); ++i) {
        const char c = telefon[i];
        if (ziffer(c) || (c == '+' && nummer.empty())) nummer += c;
        else if (!Rufnummerntrenner(c)) return std::nullopt;
    }
    if (nummer.empty() || nummer == "+") return std::nullopt;
    return nummer;
}

bool msnGueltig(std::string_view msn) { return std::all_of(msn.begin(), msn.end(), ziffer); }

Nummernpruefung nummernPruefen(std::string_view inhalt, const std::string& dateiname) {
    Nummernpruefung p;
    std::string text;
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (inhalt.substr(0, 3) == kBom) {
        // Saved as UTF-8 by an editor: read it as the Windows-1252 it stands for.
        text = tonwerk::Utf8ZuCp1252(inhalt.substr(3, kNummernHoechstensBytes));
    } else {
        text = std::string(inhalt.substr(0, kNummernHoechstensBytes));
    }
    const auto hinweis = [&](std::size_t zeile, const std::string& was) {
        p.hinweise.push_back(dateiname + " Zeile " + std::to_string(zeile) + ":\t" + was);
    };
    std::size_t nummer = 0, saetze = 0;
    bool abgeschnitten = false;
    zeilenDurchgehen(text, [&](std::string_view zeile) {
        ++nummer;
        if (saetze == kNummernHoechstensEintraege) {
            abgeschnitten = true;
            return false;
        }
        ++saetze;
        const Nummerntabelle satz = nummernAusText(zeile);
        if (zeile.substr(0, zeile.find(',')).empty()) {
            p.tabelle.emplace_back();  // an empty record keeps its place
            return true;
        }
        if (satz.empty()) {
            hinweis(nummer, "weniger als drei Felder, nicht übernommen");
            return true;
        }
        Nummerneintrag e = satz.front();
        if (const auto fehler = kennungFehler(e.kennung)) {
            hinweis(nummer, *fehler + ", nicht übernommen");
            return true;
        }
        const auto telefon = telefonNormalisiert(e.telefon);
        if (!telefon) {
            hinweis(nummer, "Telefonnummer \"" + e.telefon + "\" ist keine Rufnummer, nicht übernommen");
            return true;
        }
        e.telefon = *telefon;
        e.kennung = kennungGross(e.kennung);
        if (e.leitung != "DTR" && e.leitung != "RTS")
            hinweis(nummer, "Leitung \"" + e.leitung + "\" ist weder DTR noch RTS, getastet wird RTS");
        p.tabelle.push_back(std::move(e));
        return true;
    });
    if (abgeschnitten)
        p.hinweise.push_back(dateiname + " ab Zeile " + std::to_string(nummer) + ":\tnicht gelesen, höchstens " +
                             std::to_string(kNummernHoechstensEintraege) + " Einträge");
    else if (inhalt.size() > kNummernHoechstensBytes + (inhalt.substr(0, 3) == kBom ? 3 : 0))
        p.hinweise.push_back(dateiname + " nach Zeile " + std::to_string(nummer) + ":\tnicht gelesen, höchstens " +
                             std::to_string(kNummernHoechstensBytes / (1024 * 1024)) + " MB");
    return p;
}

}  // namespace rufpilot
