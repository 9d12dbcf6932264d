#include "rufpilot/routermonitor/monitor_nachrichten.h"

#include "rufpilot/capi/capi_bytes.h"

namespace rufpilot {

namespace {

CapiNachricht MitAdresse(std::size_t laenge, std::uint16_t applId, std::uint8_t befehl, std::uint8_t unterbefehl,
                         std::uint16_t nummer, std::uint32_t adresse) {
    auto n = capi::KopfBauen(laenge, applId, befehl, unterbefehl, nummer);
    LeSchreiben(n, 8, adresse, 4);
    return n;
}

void Anhaengen(CapiNachricht& n, std::string_view text) { n.insert(n.end(), text.begin(), text.end()); }

}  // namespace

CapiNachricht MonitorConnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                                std::string_view msn, std::string_view anrufer) {
    auto n = MitAdresse(14, applId, capi::kConnect, capi::kInd, nummer, plci);
    LeSchreiben(n, 12, 1, 2);  // CIP speech
    n.push_back(static_cast<std::uint8_t>(msn.size() + 1));
    n.push_back(0x81);  // type: unknown, ISDN numbering plan
    Anhaengen(n, msn);
    if (anrufer.empty()) {
        // Type 0, presentation restricted: the call monitor's "Unbekannt".
        n.insert(n.end(), {2, 0x00, 0xA0});
    } else {
        n.push_back(static_cast<std::uint8_t>(anrufer.size() + 2));
        n.insert(n.end(), {0x00, 0x80});  // presentation allowed
        Anhaengen(n, anrufer);
    }
    n.insert(n.end(), 5, 0);  // the empty structs that follow
    LeSchreiben(n, 0, static_cast<std::uint32_t>(n.size()), 2);
    return n;
}

CapiNachricht MonitorDisconnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                                   std::uint16_t grund) {
    auto n = MitAdresse(14, applId, capi::kDisconnect, capi::kInd, nummer, plci);
    LeSchreiben(n, 12, grund, 2);
    return n;
}

CapiNachricht MonitorConf(std::uint16_t applId, std::uint8_t befehl, std::uint16_t nummer, std::uint32_t adresse,
                          std::uint16_t info) {
    auto n = MitAdresse(14, applId, befehl, capi::kConf, nummer, adresse);
    LeSchreiben(n, 12, info, 2);
    return n;
}

}  // namespace rufpilot
