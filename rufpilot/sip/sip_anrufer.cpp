#include "rufpilot/sip/sip_anrufer.h"

#include <algorithm>
#include <cctype>

#include "rufpilot/anrufe/rufnummer_text.h"

namespace rufpilot {

namespace {

constexpr std::size_t kNummerHoechstens = 32;

int HexWert(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool GleichOhneGross(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Privacy values (RFC 3323) that hide the caller's identity.
bool Verborgen(std::string_view privacy) {
    std::size_t i = 0;
    while (i < privacy.size()) {
        const std::size_t ende = std::min(privacy.find_first_of(";, ", i), privacy.size());
        const std::string_view wert = privacy.substr(i, ende - i);
        if (GleichOhneGross(wert, "id") || GleichOhneGross(wert, "header") || GleichOhneGross(wert, "user"))
            return true;
        i = ende + 1;
    }
    return false;
}

bool Anonym(std::string_view user, std::string_view host) {
    return GleichOhneGross(user, "anonymous") || GleichOhneGross(host, "anonymous.invalid");
}

}  // namespace

std::string SipNummer(std::string_view user) {
    user = user.substr(0, user.find(';'));
    std::string text;
    for (std::size_t i = 0; i < user.size(); ++i) {
        char c = user[i];
        if (c == '%' && i + 2 < user.size() && HexWert(user[i + 1]) >= 0 && HexWert(user[i + 2]) >= 0) {
            c = static_cast<char>(HexWert(user[i + 1]) * 16 + HexWert(user[i + 2]));
            i += 2;
        }
        text.push_back(c);
    }
    text = RufnummerEinheitlich(text);
    if (text.size() > kNummerHoechstens) text.resize(kNummerHoechstens);
    return text;
}

std::string SipAnrufer(const SipAnruferangaben& a) {
    if (Verborgen(a.privacy) || Anonym(a.fromUser, a.fromHost)) return kAnruferUnbekannt;
    // The router's assertion counts before what the caller wrote himself.
    const std::string nummer = SipNummer(a.paiVorhanden && !a.paiUser.empty() ? a.paiUser : a.fromUser);
    if (nummer.empty()) return kAnruferNichtErkannt;
    if (Anonym(nummer, {})) return kAnruferUnbekannt;
    // Internal callers ("4799") keep their number: a SIP peer writes national
    // numbers with their "0".
    return NummernText(nummer);
}

std::string SipMsn(std::string_view user) { return NummernText(SipNummer(user)); }

}  // namespace rufpilot
