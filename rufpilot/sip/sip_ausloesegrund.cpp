#include "rufpilot/sip/sip_ausloesegrund.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace rufpilot {

namespace {

std::string Klein(std::string_view text) {
    std::string k(text);
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

std::string_view Getrimmt(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
}

// Splits at `trenner` outside double quotes.
std::vector<std::string_view> Teilen(std::string_view text, char trenner) {
    std::vector<std::string_view> teile;
    bool inAnfuehrung = false;
    std::size_t anfang = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') inAnfuehrung = !inAnfuehrung;
        if (text[i] == '\\' && inAnfuehrung) {
            ++i;
            continue;
        }
        if (text[i] == trenner && !inAnfuehrung) {
            teile.push_back(text.substr(anfang, i - anfang));
            anfang = i + 1;
        }
    }
    teile.push_back(text.substr(std::min(anfang, text.size())));
    return teile;
}

std::optional<int> Zahl(std::string_view t) {
    if (t.empty() || t.size() > 4) return std::nullopt;
    int wert = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return std::nullopt;
        wert = wert * 10 + (c - '0');
    }
    return wert;
}

struct Reason {
    std::string protokoll;
    std::optional<int> ursache;
    std::string text;
};

Reason ReasonLesen(std::string_view eintrag) {
    const auto teile = Teilen(eintrag, ';');
    Reason r{Klein(Getrimmt(teile.front())), std::nullopt, {}};
    for (std::size_t i = 1; i < teile.size(); ++i) {
        const std::string_view p = Getrimmt(teile[i]);
        const std::size_t gleich = p.find('=');
        if (gleich == std::string_view::npos) continue;
        const std::string name = Klein(Getrimmt(p.substr(0, gleich)));
        const std::string_view wert = Getrimmt(p.substr(gleich + 1));
        if (name == "cause") r.ursache = Zahl(wert);
        if (name == "text") r.text = Klein(wert);
    }
    return r;
}

}  // namespace

Ausloesung GrundAusReason(std::string_view reason) {
    std::optional<Ausloesegrund> sip;
    for (const auto eintrag : Teilen(reason, ',')) {
        const Reason r = ReasonLesen(eintrag);
        if (r.protokoll == "q.850" && r.ursache && *r.ursache <= 127)
            return AusloesungAusQ850(Netz::Sip, *r.ursache, "Q.850 " + std::to_string(*r.ursache));
        if (r.protokoll == "sip" && !sip) {
            if (r.ursache == 200 || r.text.find("completed elsewhere") != std::string::npos) {
                sip = Ausloesegrund::AnderswoAngenommen;
            } else if (r.ursache == 181 || r.ursache == 302) {
                sip = Ausloesegrund::Umgeleitet;
            }
        }
    }
    return {Netz::Sip, sip.value_or(Ausloesegrund::Aufgelegt), {}};
}

Ausloesung GrundAusStatus(int status) {
    // The usual SIP to Q.850 mapping (RFC 3398) for the answers a callee gives.
    int ursache = 0;
    switch (status) {
        case 404: case 484: ursache = 1; break;   // unallocated number
        case 486: case 600: ursache = 17; break;  // user busy
        case 408: case 480: ursache = 18; break;  // no user responding
        case 403: case 603: ursache = 21; break;  // call rejected
        default:
            if (status >= 500 && status < 600) ursache = 41;  // temporary failure
            break;
    }
    // 487: our own CANCEL took effect.
    if (ursache == 0) return {Netz::Sip, Ausloesegrund::RueckrufBeendet, {}};
    return AusloesungAusQ850(Netz::Sip, ursache, "SIP " + std::to_string(status));
}

}  // namespace rufpilot
