#include "alarm/alias_tabelle.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "tonwerk/formats/cp1252.h"
#include "tonwerk/formats/utf8.h"

namespace tonwerk::werkzeug {

namespace {

std::string getrimmt(const std::string& s) {
    const auto anfang = s.find_first_not_of(" \t\r");
    if (anfang == std::string::npos) return "";
    return s.substr(anfang, s.find_last_not_of(" \t\r") - anfang + 1);
}

std::string klein(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool nurZiffern(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

// The normalised key of an entry, or an error text.
std::string schluesselBilden(const std::string& art, std::string wert, std::string& fehler) {
    if (art == "fms") {
        if (wert.size() != 8 ||
            !std::all_of(wert.begin(), wert.end(), [](unsigned char c) { return std::isxdigit(c) != 0; })) {
            fehler = "FMS-Kennung \"" + wert + "\" hat nicht 8 Hexadezimalziffern";
            return "";
        }
        for (char& c : wert) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return "fms:" + wert;
    }
    if (art == "pocsag") {
        std::string funktion;
        if (const auto strich = wert.find('/'); strich != std::string::npos) {
            funktion = getrimmt(wert.substr(strich + 1));
            wert = getrimmt(wert.substr(0, strich));
            const std::string f = klein(funktion);
            if (f.size() == 1 && f[0] >= 'a' && f[0] <= 'd') funktion = std::string(1, static_cast<char>('1' + (f[0] - 'a')));
            else if (!(f.size() == 1 && f[0] >= '1' && f[0] <= '4')) {
                fehler = "Funktion \"" + funktion + "\" ist nicht A-D oder 1-4";
                return "";
            }
        }
        if (!nurZiffern(wert) || wert.size() > 7 || std::stol(wert) > 2097151) {
            fehler = "RIC \"" + wert + "\" ist keine Zahl von 0 bis 2097151";
            return "";
        }
        return "pocsag:" + std::to_string(std::stol(wert)) + (funktion.empty() ? "" : "/" + funktion);
    }
    if (art == "zvei") {
        if (wert.size() != 5 || !nurZiffern(wert)) {
            fehler = "ZVEI-Nummer \"" + wert + "\" hat nicht 5 Ziffern";
            return "";
        }
        return "zvei:" + wert;
    }
    fehler = "Art \"" + art + "\" ist nicht fms, pocsag oder zvei";
    return "";
}

// The offset of the first byte that is not part of well-formed UTF-8, or npos.
std::size_t ersterUtf8Fehler(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return i;
        const std::u32string z = Utf8Dekodieren(std::string_view(s).substr(i, n));
        if (z.size() != 1 || z[0] == kUtf8Ersatz) return i;
        i += n;
    }
    return std::string::npos;
}

}  // namespace

void AliasTabelle::laden(const std::string& pfad) {
    std::ifstream ein(pfad);
    if (!ein) throw std::runtime_error("Alias-Datei " + pfad + " lässt sich nicht lesen");
    laden(ein, pfad);
}

void AliasTabelle::laden(std::istream& roh, const std::string& quelle) {
    std::string inhaltDatei{std::istreambuf_iterator<char>(roh), std::istreambuf_iterator<char>()};
    if (roh.bad()) throw std::runtime_error("Alias-Datei " + quelle + " lässt sich nicht zu Ende lesen");
    if (const std::size_t fehler = ersterUtf8Fehler(inhaltDatei); fehler != std::string::npos) {
        const auto zeileNr = 1 + std::count(inhaltDatei.begin(), inhaltDatei.begin() + static_cast<std::ptrdiff_t>(fehler), '\n');
        hinweise_.push_back("Alias-Datei " + quelle + " ist kein gültiges UTF-8 (zuerst in Zeile " +
                            std::to_string(zeileNr) + "), als Windows-1252 (Latin-1) gelesen");
        inhaltDatei = Cp1252ZuUtf8(inhaltDatei);
    }
    std::istringstream ein(inhaltDatei);
    std::string zeile;
    for (int nummer = 1; std::getline(ein, zeile); ++nummer) {
        if (nummer == 1 && zeile.rfind("\xEF\xBB\xBF", 0) == 0) zeile.erase(0, 3);  // spreadsheet BOM
        const std::string inhalt = getrimmt(zeile);
        if (inhalt.empty() || inhalt[0] == '#') continue;
        const auto fehlerMelden = [&](const std::string& was) {
            throw std::runtime_error("Alias-Datei " + quelle + ", Zeile " + std::to_string(nummer) + ": " + was);
        };
        const char trenner = inhalt.find(';') != std::string::npos ? ';' : ',';
        const auto erster = inhalt.find(trenner);
        const auto zweiter = erster == std::string::npos ? erster : inhalt.find(trenner, erster + 1);
        if (zweiter == std::string::npos) fehlerMelden("erwartet Art;Schlüssel;Name");
        const std::string art = klein(getrimmt(inhalt.substr(0, erster)));
        if (art == "art") continue;
        std::string name = getrimmt(inhalt.substr(zweiter + 1));
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = getrimmt(name.substr(1, name.size() - 2));
        if (name.empty()) fehlerMelden("der Name fehlt");
        std::string fehler;
        const std::string schluessel =
            schluesselBilden(art, getrimmt(inhalt.substr(erster + 1, zweiter - erster - 1)), fehler);
        if (!fehler.empty()) fehlerMelden(fehler);
        const std::string herkunft = quelle + ", Zeile " + std::to_string(nummer);
        if (const auto alt = eintraege_.find(schluessel); alt != eintraege_.end())
            fehlerMelden("Eintrag doppelt, zuerst in " + alt->second.herkunft);
        eintraege_.emplace(schluessel, Eintrag{name, herkunft});
    }
}

std::optional<std::string> AliasTabelle::suchen(const std::string& schluessel) const {
    const auto it = eintraege_.find(schluessel);
    if (it == eintraege_.end()) return std::nullopt;
    return it->second.name;
}

std::optional<std::string> AliasTabelle::fms(const std::string& kennung) const {
    std::string k = kennung;
    for (char& c : k) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return suchen("fms:" + k);
}

std::optional<std::string> AliasTabelle::pocsag(std::int32_t ric, std::int32_t funktion) const {
    if (auto mitFunktion = suchen("pocsag:" + std::to_string(ric) + "/" + std::to_string(funktion))) return mitFunktion;
    return suchen("pocsag:" + std::to_string(ric));
}

std::optional<std::string> AliasTabelle::zvei(const std::string& nummer) const { return suchen("zvei:" + nummer); }

std::vector<AliasEintrag> AliasTabelle::alle() const {
    std::vector<AliasEintrag> a;
    for (const auto& [schluessel, e] : eintraege_) {
        const auto doppelpunkt = schluessel.find(':');
        a.push_back({schluessel.substr(0, doppelpunkt), schluessel.substr(doppelpunkt + 1), e.name});
    }
    return a;
}

}  // namespace tonwerk::werkzeug
