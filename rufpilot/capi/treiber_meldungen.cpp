#include "rufpilot/capi/treiber_meldungen.h"

#include "rufpilot/capi/capi_bytes.h"

namespace rufpilot {

namespace {

CapiNachricht MitAdresse(std::size_t laenge, std::uint16_t applId, std::uint8_t befehl, std::uint8_t unterbefehl,
                         std::uint16_t nummer, std::uint32_t adresse) {
    auto n = capi::KopfBauen(laenge, applId, befehl, unterbefehl, nummer);
    LeSchreiben(n, 8, adresse, 4);
    return n;
}

}  // namespace

CapiNachricht TreiberConnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci,
                            std::string_view nummernbereich) {
    auto n = MitAdresse(14, applId, capi::kConnect, capi::kInd, nummer, plci);
    LeSchreiben(n, 12, 1, 2);  // CIP speech
    n.insert(n.end(), nummernbereich.begin(), nummernbereich.end());
    LeSchreiben(n, 0, static_cast<std::uint32_t>(n.size()), 2);
    return n;
}

CapiNachricht TreiberDisconnectInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci, std::uint16_t grund) {
    auto n = MitAdresse(14, applId, capi::kDisconnect, capi::kInd, nummer, plci);
    LeSchreiben(n, 12, grund, 2);
    return n;
}

CapiNachricht TreiberConnectActiveInd(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci) {
    return MitAdresse(15, applId, capi::kConnectActive, capi::kInd, nummer, plci);
}

CapiNachricht TreiberBestaetigung(std::uint16_t applId, std::uint8_t befehl, std::uint16_t nummer, std::uint32_t adresse,
                              std::uint16_t info) {
    auto n = MitAdresse(14, applId, befehl, capi::kConf, nummer, adresse);
    LeSchreiben(n, 12, info, 2);
    return n;
}

}  // namespace rufpilot
