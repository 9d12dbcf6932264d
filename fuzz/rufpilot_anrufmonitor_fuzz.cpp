// Fuzz target: arbitrary bytes as a call monitor feed. However the bytes are
// split, the same lines come out; every RING read turns into a CONNECT_IND
// that reads back as the same caller and MSN.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "rufpilot/capi/capi_lesen.h"
#include "rufpilot/capi/capi_rufnummern.h"
#include "rufpilot/routermonitor/monitor_nachrichten.h"
#include "rufpilot/routermonitor/monitorzeile.h"
#include "rufpilot/routermonitor/zeilenpuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace rufpilot;
    const std::string_view text(reinterpret_cast<const char*>(daten), groesse);
    Zeilenpuffer ganz(64), geteilt(64);
    const auto a = ganz.anhaengen(text);
    const std::size_t schnitt = groesse == 0 ? 0 : daten[0] % groesse;
    auto b = geteilt.anhaengen(text.substr(0, schnitt));
    const auto b2 = geteilt.anhaengen(text.substr(schnitt));
    b.vollstaendig.insert(b.vollstaendig.end(), b2.vollstaendig.begin(), b2.vollstaendig.end());
    if (a.vollstaendig != b.vollstaendig || a.zuLang != b.zuLang + b2.zuLang) std::abort();

    for (const std::string& zeile : a.vollstaendig) {
        if (zeile.size() > 64 || zeile.find('\n') != std::string::npos) std::abort();
        const Monitorzeile z = MonitorzeileLesen(zeile);
        if (z.art != Monitorzeile::Art::Ruf) continue;
        if (z.msn.empty() || z.msn.size() > kMonitorFeldMax || z.anrufer.size() > kMonitorFeldMax) std::abort();
        const auto n = MonitorConnectInd(1, 0x100, 0x17F, z.msn, z.anrufer);
        const Eingangsruf ruf = ConnectIndLesen(n);
        if (ruf.plci != 0x17F || MsnAusNummernbereich(ruf.nummernbereich) != z.msn) std::abort();
        std::string erwartet = z.anrufer.empty() ? "Unbekannt" : z.anrufer;
        if (erwartet[0] >= '1' && erwartet[0] <= '9') erwartet = "0" + erwartet;
        if (AnruferAusNummernbereich(ruf.nummernbereich) != erwartet) std::abort();
    }
    return 0;
}
