// Fuzz target: arbitrary text as what an INVITE, a CANCEL and a call-back
// number carry, through the parts the SIP source reads itself. The input is
// split at '\n' into From user, From host, P-Asserted-Identity user, Privacy,
// MSN and Reason; the whole input is also a number to dial.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rufpilot/sip/sip_adressen.h"
#include "rufpilot/sip/sip_anrufer.h"
#include "rufpilot/sip/sip_ausloesegrund.h"

namespace {

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace rufpilot;
    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    std::vector<std::string> felder(6);
    std::size_t feld = 0;
    for (char c : text) {
        if (c == '\n' && feld + 1 < felder.size()) {
            ++feld;
        } else {
            felder[feld].push_back(c);
        }
    }
    const SipAnruferangaben angaben{felder[0], felder[1], !felder[2].empty(), felder[2], felder[3]};
    const std::string anrufer = SipAnrufer(angaben);
    const std::string msn = SipMsn(felder[4]);
    Pruefen(SipNummer(felder[0]).size() <= 32);
    // Neither may split a message line.
    for (const char c : anrufer + msn) Pruefen(static_cast<unsigned char>(c) >= 0x20);

    const Ausloesung grund = GrundAusReason(felder[5]);
    Pruefen(grund.netz == Netz::Sip && !AusloesungText(grund).empty());

    // A number to dial reaches a header only as a plain user part.
    const std::string uri = UriNummer(std::string(text));
    for (const char c : uri) Pruefen(c > 0x20 && c != '>' && c != '<' && c != '@' && c != ';' && c != ',');
    return 0;
}
