#include "rufpilot/routermonitor/monitor_nachrichten.h"

#include <string>

namespace rufpilot {

CapiNachricht MonitorConnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                                std::string_view msn, std::string_view anrufer) {
    std::string bereich;
    bereich.push_back(static_cast<char>(msn.size() + 1));
    bereich.push_back('\x81');  // type: unknown, ISDN numbering plan
    bereich.append(msn);
    if (anrufer.empty()) {
        // Type 0, presentation restricted: the call monitor's "Unbekannt".
        bereich.append({'\x02', '\x00', '\xA0'});
    } else {
        bereich.push_back(static_cast<char>(anrufer.size() + 2));
        bereich.append({'\x00', '\x80'});  // presentation allowed
        bereich.append(anrufer);
    }
    bereich.append(5, '\0');  // the empty structs that follow
    return TreiberConnectInd(applId, nummer, plci, bereich);
}

}  // namespace rufpilot
