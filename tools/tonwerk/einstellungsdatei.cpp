#include "einstellungsdatei.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>

#include "bedienfehler.h"

namespace tonwerk::werkzeug {

namespace {

std::string getrimmt(const std::string& s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// Cuts a comment (# or ; outside quotes) off the end of a line.
std::string ohneKommentar(const std::string& zeile) {
    char quote = 0;
    for (std::size_t i = 0; i < zeile.size(); ++i) {
        const char c = zeile[i];
        if (quote) {
            if (c == '\\' && quote == '"') ++i;
            else if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '#' || c == ';') {
            return zeile.substr(0, i);
        }
    }
    return zeile;
}

// Open brackets outside quotes, to join a list spread over lines.
int klammerBilanz(const std::string& s) {
    int n = 0;
    char quote = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quote) {
            if (c == '\\' && quote == '"') ++i;
            else if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++n;
        } else if (c == ']') {
            --n;
        }
    }
    return n;
}

class Leser {
public:
    Leser(const std::string& text, std::string ort) : t_(text), ort_(std::move(ort)) {}

    std::vector<std::string> wert(bool& liste) {
        leer();
        liste = i_ < t_.size() && t_[i_] == '[';
        std::vector<std::string> werte;
        if (!liste) {
            werte.push_back(einzel(false));
        } else {
            ++i_;
            for (;;) {
                leer();
                if (i_ < t_.size() && t_[i_] == ']') {
                    ++i_;
                    break;
                }
                werte.push_back(einzel(true));
                leer();
                if (i_ < t_.size() && t_[i_] == ',') ++i_;
                else if (i_ >= t_.size() || t_[i_] != ']') throw fehler("in der Liste fehlt , oder ]");
            }
        }
        leer();
        if (i_ != t_.size()) throw fehler("nach dem Wert folgt noch etwas");
        return werte;
    }

private:
    const std::string& t_;
    std::string ort_;
    std::size_t i_ = 0;

    Bedienfehler fehler(const std::string& was) const { return Bedienfehler(ort_ + ": " + was); }
    void leer() {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\n' || t_[i_] == '\r')) ++i_;
    }
    std::string einzel(bool inListe) {
        if (i_ < t_.size() && (t_[i_] == '"' || t_[i_] == '\'')) {
            const char quote = t_[i_++];
            std::string s;
            while (i_ < t_.size() && t_[i_] != quote) {
                char c = t_[i_++];
                if (c == '\\' && quote == '"' && i_ < t_.size()) {
                    const char e = t_[i_++];
                    c = e == 'n' ? '\n' : e == 't' ? '\t' : e;
                    if (e != 'n' && e != 't' && e != '"' && e != '\\') throw fehler(std::string("unbekannte Escape-Folge \\") + e);
                }
                s += c;
            }
            if (i_ >= t_.size()) throw fehler(std::string("schließendes ") + quote + " fehlt");
            ++i_;
            return s;
        }
        // Bare: INI style, up to the end (or, in a list, the next , or ]).
        const auto ende = inListe ? t_.find_first_of(",]", i_) : t_.size();
        std::string s = getrimmt(t_.substr(i_, ende == std::string::npos ? std::string::npos : ende - i_));
        i_ = ende == std::string::npos ? t_.size() : ende;
        if (s.empty()) throw fehler("der Wert fehlt");
        return s;
    }
};

}  // namespace

bool istGeheim(const std::string& optionsname) {
    for (const char* teil : {"passwort", "token", "geheim"})
        if (optionsname.find(teil) != std::string::npos) return true;
    return false;
}

std::vector<Einstellung> einstellungenLesen(std::istream& ein, const std::string& quelle, const std::string& befehl) {
    std::vector<Einstellung> ergebnis;
    std::map<std::string, int> gesehen;
    bool aktiv = true;  // the top level, or a section for this subcommand
    std::string zeile;
    for (int nummer = 1; std::getline(ein, zeile); ++nummer) {
        if (nummer == 1 && zeile.rfind("\xEF\xBB\xBF", 0) == 0) zeile.erase(0, 3);
        const std::string ort = quelle + ", Zeile " + std::to_string(nummer);
        std::string inhalt = getrimmt(ohneKommentar(zeile));
        if (inhalt.empty()) continue;
        if (inhalt.front() == '[') {
            if (inhalt.back() != ']') throw Bedienfehler(ort + ": ] fehlt nach dem Abschnittsnamen");
            const std::string abschnitt = getrimmt(inhalt.substr(1, inhalt.size() - 2));
            if (abschnitt != "decode" && abschnitt != "listen")
                throw Bedienfehler(ort + ": unbekannter Abschnitt [" + abschnitt + "] (erlaubt: [decode], [listen])");
            aktiv = abschnitt == befehl;
            continue;
        }
        const auto gleich = inhalt.find('=');
        if (gleich == std::string::npos) throw Bedienfehler(ort + ": erwartet schluessel = wert");
        Einstellung e;
        e.zeile = nummer;
        e.schluessel = getrimmt(inhalt.substr(0, gleich));
        std::replace(e.schluessel.begin(), e.schluessel.end(), '_', '-');
        if (e.schluessel.size() >= 2 && e.schluessel.front() == '"' && e.schluessel.back() == '"')
            e.schluessel = e.schluessel.substr(1, e.schluessel.size() - 2);
        if (e.schluessel.empty()) throw Bedienfehler(ort + ": der Schlüssel fehlt vor =");
        std::string wert = inhalt.substr(gleich + 1);
        // A list may go on over the following lines until its ] .
        int offen = klammerBilanz(wert);
        while (offen > 0) {
            std::string weiter;
            if (!std::getline(ein, weiter)) throw Bedienfehler(ort + ": ] fehlt am Ende der Liste");
            ++nummer;
            wert += "\n" + ohneKommentar(weiter);
            offen = klammerBilanz(wert);
        }
        const bool geheim = istGeheim(e.schluessel);
        try {
            e.werte = Leser(wert, ort + " (" + e.schluessel + ")").wert(e.liste);
        } catch (const Bedienfehler&) {
            if (geheim) throw Bedienfehler(ort + " (" + e.schluessel + "): Wert unlesbar");
            throw;
        }
        if (!aktiv) continue;
        if (const auto alt = gesehen.find(e.schluessel); alt != gesehen.end())
            throw Bedienfehler(ort + ": " + e.schluessel + " steht schon in Zeile " + std::to_string(alt->second));
        gesehen.emplace(e.schluessel, nummer);
        ergebnis.push_back(std::move(e));
    }
    return ergebnis;
}

void einstellungsdateiAnmelden(CLI::App* cmd, std::string& pfad) {
    cmd->add_option("--config", pfad,
                    "Einstellungsdatei (INI/TOML): schluessel = wert je Zeile, Schlüssel wie die langen Optionen ohne "
                    "--; Angaben auf der Befehlszeile gehen vor; Passwörter gehören hierher oder in die Umgebung")
        ->check(CLI::ExistingFile);
}

void einstellungenAnwenden(CLI::App* cmd, const std::string& pfad, std::ostream& hinweise) {
    std::vector<Einstellung> einstellungen;
    if (!pfad.empty()) {
        std::ifstream ein(pfad);
        if (!ein) throw Bedienfehler("--config " + pfad + ": lässt sich nicht lesen");
        einstellungen = einstellungenLesen(ein, pfad, cmd->get_name());
    }
    std::vector<std::string> ausDatei;
    for (const auto& e : einstellungen) {
        const std::string ort = pfad + ", Zeile " + std::to_string(e.zeile);
        CLI::Option* op = e.schluessel == "config" || e.schluessel == "help"
                              ? nullptr
                              : cmd->get_option_no_throw("--" + e.schluessel);
        if (!op) {
            std::string bekannt;
            for (const CLI::Option* o : cmd->get_options()) {
                const std::string n = o->get_lnames().empty() ? "" : o->get_lnames().front();
                if (!n.empty() && n != "help" && n != "config") bekannt += (bekannt.empty() ? "" : ", ") + n;
            }
            throw Bedienfehler(ort + ": unbekannter Schlüssel \"" + e.schluessel + "\" (bekannt: " + bekannt + ")");
        }
        if (op->count() > 0) continue;  // the command line (or the environment) wins
        const bool geheim = istGeheim(e.schluessel);
        const bool schalter = op->get_expected_min() == 0;
        if (e.liste && !schalter && op->get_expected_max() <= 1)
            throw Bedienfehler(ort + ": " + e.schluessel + " nimmt einen Wert, keine Liste");
        try {
            if (schalter) {
                if (e.werte.size() != 1 || (e.werte[0] != "true" && e.werte[0] != "false"))
                    throw Bedienfehler(ort + ": " + e.schluessel + " ist ein Schalter: true oder false");
                if (e.werte[0] == "false") continue;
                op->add_result(std::string("true"));
            } else {
                op->add_result(e.werte);
            }
            op->run_callback();
        } catch (const CLI::Error& f) {
            throw Bedienfehler(ort + ": " + (geheim ? e.schluessel + ": Wert ungültig" : std::string(f.what())));
        }
        ausDatei.push_back(e.schluessel);
    }
    for (const CLI::Option* o : cmd->get_options()) {
        if (o->get_lnames().empty() || !istGeheim(o->get_lnames().front()) || o->count() == 0) continue;
        const std::string name = o->get_lnames().front();
        const std::string umgebung = o->get_envname();
        const bool ausUmgebung = !umgebung.empty() && std::getenv(umgebung.c_str()) != nullptr;
        if (!ausUmgebung && std::find(ausDatei.begin(), ausDatei.end(), name) == ausDatei.end())
            hinweise << "Hinweis: --" << name << " auf der Befehlszeile kann jeder Benutzer des Rechners lesen; "
                     << "besser in der Einstellungsdatei (--config)"
                     << (umgebung.empty() ? "" : " oder in " + umgebung) << '\n';
    }
}

}  // namespace tonwerk::werkzeug
