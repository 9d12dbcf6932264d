#include "alarm/adressfilter.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace tonwerk::werkzeug {

namespace {

std::string gross(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool nurAus(const std::string& s, const char* zeichen) {
    return std::all_of(s.begin(), s.end(), [&](char c) { return std::string_view(zeichen).find(c) != std::string_view::npos; });
}

// The address of a message as the lists compare it.
std::string adresse(const std::string& art, const nlohmann::ordered_json& felder) {
    const char* feld = art == "fms" ? "Kennung" : art == "pocsag" ? "RIC" : art == "zvei" ? "ZVEINr" : "tonruf";
    const auto it = felder.find(feld);
    if (it == felder.end()) return "";
    return it->is_string() ? gross(it->get<std::string>()) : it->dump();
}

}  // namespace

bool musterPasst(const std::string& muster, const std::string& text) {
    // Iterative glob match with one back-tracking point, linear in practice.
    std::size_t m = 0, t = 0, stern = std::string::npos, merk = 0;
    while (t < text.size()) {
        if (m < muster.size() && (muster[m] == '?' || muster[m] == text[t])) {
            ++m;
            ++t;
        } else if (m < muster.size() && muster[m] == '*') {
            stern = m++;
            merk = t;
        } else if (stern != std::string::npos) {
            m = stern + 1;
            t = ++merk;
        } else {
            return false;
        }
    }
    while (m < muster.size() && muster[m] == '*') ++m;
    return m == muster.size();
}

Adressfilter::Eintrag Adressfilter::lesen(const std::string& eintrag) {
    const auto trenner = eintrag.find_first_of(":;");
    const auto fehler = [&eintrag](const std::string& was) {
        return std::invalid_argument("\"" + eintrag + "\": " + was);
    };
    if (trenner == std::string::npos) throw fehler("erwartet ART:MUSTER, ART fms, pocsag, zvei oder tonruf");
    Eintrag e;
    e.art = eintrag.substr(0, trenner);
    for (char& c : e.art) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    e.muster = gross(eintrag.substr(trenner + 1));
    if (e.art == "pocsag") {
        if (const auto strich = e.muster.find('/'); strich != std::string::npos) {
            e.funktionsmuster = e.muster.substr(strich + 1);
            e.muster.erase(strich);
            if (e.funktionsmuster.size() == 1 && e.funktionsmuster[0] >= 'A' && e.funktionsmuster[0] <= 'D')
                e.funktionsmuster = std::string(1, static_cast<char>('1' + (e.funktionsmuster[0] - 'A')));
            if (e.funktionsmuster.empty() || !nurAus(e.funktionsmuster, "1234*?"))
                throw fehler("Funktion ist nicht A-D, 1-4 oder ein Muster daraus");
        }
    }
    const char* erlaubt = e.art == "fms"      ? "0123456789ABCDEF*?"
                          : e.art == "pocsag" ? "0123456789*?"
                          : e.art == "zvei"   ? "0123456789*?"
                          : e.art == "tonruf" ? "0123*?"
                                              : nullptr;
    if (!erlaubt) throw fehler("Art \"" + e.art + "\" ist nicht fms, pocsag, zvei oder tonruf");
    if (e.muster.empty()) throw fehler("das Muster fehlt (* für alle)");
    if (!nurAus(e.muster, erlaubt))
        throw fehler(e.art == "fms"      ? "eine Kennung besteht aus Hexadezimalziffern (mit * und ?)"
                     : e.art == "tonruf" ? "ein Tonruf ist 0 bis 3 (mit * und ?)"
                                         : "erwartet Ziffern (mit * und ?)");
    return e;
}

bool Adressfilter::passt(const Eintrag& e, const std::string& art, const nlohmann::ordered_json& felder) {
    if (e.art != art || !musterPasst(e.muster, adresse(art, felder))) return false;
    if (e.funktionsmuster.empty()) return true;
    const auto f = felder.find("Funktion");
    return f != felder.end() && musterPasst(e.funktionsmuster, f->dump());
}

bool Adressfilter::durchlassen(const std::string& art, const nlohmann::ordered_json& felder) const {
    if (art.empty()) return true;
    const auto trifft = [&](const Eintrag& e) { return passt(e, art, felder); };
    if (!nur_.empty() && std::none_of(nur_.begin(), nur_.end(), trifft)) return false;
    return std::none_of(ohne_.begin(), ohne_.end(), trifft);
}

}  // namespace tonwerk::werkzeug
