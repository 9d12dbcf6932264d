// Fuzz target: arbitrary text as what an INVITE, a CANCEL and a call-back
// request carry, through the parts the SIP source reads itself. The input is
// split at '\n' into From user, From host, P-Asserted-Identity user, Privacy,
// MSN and Reason; the whole input is also a CONNECT_REQ.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_rufnummern.h"
#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/sip/sip_anrufer.h"
#include "rufpilot/sip/sip_ausloesegrund.h"
#include "rufpilot/sip/sip_waehlauftrag.h"

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
    const std::string anruferStruct = SipAnruferStruct(angaben);
    const std::string bereich = SipNummernbereich(felder[4], anruferStruct);
    // The monitor keeps at most 100 bytes of the area: the numbers must fit.
    Pruefen(bereich.size() <= kNummernbereichMax);
    Pruefen(SipNummer(felder[0]).size() <= 32);
    const std::string anrufer = AnruferAusNummernbereich(bereich);
    const std::string msn = MsnAusNummernbereich(bereich);
    Pruefen(anrufer.find('\t') == std::string::npos && msn.find('\t') == std::string::npos);

    const std::uint16_t grund = GrundAusReason(felder[5]);
    Pruefen(grund >= 0x3480 && grund <= 0x34FF);

    const auto bytes = std::span(daten, groesse);
    const Waehlauftrag auftrag = WaehlauftragLesen(bytes);
    Pruefen(auftrag.nummer.size() < 255 && auftrag.msn.size() < 255);
    Nummernliste liste = Anruferliste();
    liste.merken(anruferStruct.size() > 2 ? anruferStruct.substr(2) : std::string());
    liste.merken(felder[0]);
    const std::string ziel = liste.aufloesen(auftrag.nummer);
    Nummernliste msns = MsnListe();
    msns.merken(felder[4]);
    const std::string msn2 = msns.aufloesen(auftrag.msn);
    Pruefen(msn2 == auftrag.msn || msn2 == felder[4]);
    // Only a remembered number that fills or cuts to the same 12 digits replaces the field.
    if (ziel != auftrag.nummer) {
        std::string gefuellt = ziel, gesucht = auftrag.nummer;
        gefuellt.resize(12, '0');
        gesucht.resize(12, '0');
        Pruefen(gefuellt == gesucht);
    }
    return 0;
}
