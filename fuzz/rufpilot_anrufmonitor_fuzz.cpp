// Fuzz target: arbitrary bytes as a call monitor feed. However the bytes are
// split (CR, LF and CR LF ending lines), the same lines come out; every RING
// read gives a caller and an MSN in the one form of every source that cannot
// split a message line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "rufpilot/anrufe/rufnummer_text.h"
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
        if (zeile.empty() || zeile.size() > 64 || zeile.find_first_of("\r\n") != std::string::npos) std::abort();
        const Monitorzeile z = MonitorzeileLesen(zeile);
        if (z.art != Monitorzeile::Art::Ruf) continue;
        if (z.msn.empty() || z.msn.size() > kMonitorFeldMax || z.anrufer.size() > kMonitorFeldMax) std::abort();
        for (const std::string& t : {RufnummerText(z.anrufer), RufnummerText(z.msn)}) {
            // In the one form of every source: no "+" left in front.
            if (!t.empty() && t.front() == '+') std::abort();
            for (const char c : t)
                if (static_cast<unsigned char>(c) < 0x20) std::abort();
        }
    }
    return 0;
}
