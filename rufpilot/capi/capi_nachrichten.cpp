#include "rufpilot/capi/capi_nachrichten.h"

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_lesen.h"

#include <initializer_list>

namespace rufpilot {

CapiNachricht capi::KopfBauen(std::size_t laenge, std::uint16_t applId, std::uint8_t befehl, std::uint8_t unterbefehl,
                             std::uint16_t nummer) {
    CapiNachricht n(laenge, 0);
    LeSchreiben(n, 0, static_cast<std::uint32_t>(laenge), 2);
    LeSchreiben(n, 2, applId, 2);
    n[4] = befehl;
    n[5] = unterbefehl;
    LeSchreiben(n, 6, nummer, 2);
    return n;
}

namespace {


CapiNachricht MitAdresse(std::size_t laenge, std::uint16_t applId, std::uint8_t befehl, std::uint8_t unterbefehl,
                         std::uint16_t nummer, std::uint32_t adresse) {
    auto n = capi::KopfBauen(laenge, applId, befehl, unterbefehl, nummer);
    LeSchreiben(n, 8, adresse, 4);
    return n;
}

// Digits as a CAPI struct: length byte, the octets before them, the digits
// themselves (as many as there are, up to kRufnummerMax).
void NummernStruct(CapiNachricht& n, std::initializer_list<std::uint8_t> vorspann, std::string_view ziffern) {
    ziffern = ziffern.substr(0, kRufnummerMax);
    n.push_back(static_cast<std::uint8_t>(vorspann.size() + ziffern.size()));
    n.insert(n.end(), vorspann.begin(), vorspann.end());
    n.insert(n.end(), ziffern.begin(), ziffern.end());
}

}  // namespace

CapiNachricht ListenReq(std::uint16_t applId) {
    auto n = MitAdresse(26, applId, capi::kListen, capi::kReq, 1, 1);
    LeSchreiben(n, 12, 0, 4);  // no INFO_IND wanted
    LeSchreiben(n, 16, 1, 4);  // bit 0: every service
    return n;
}

CapiNachricht AlertReq(std::uint16_t applId, std::uint32_t plci) {
    return MitAdresse(17, applId, capi::kAlert, capi::kReq, 0, plci);
}

CapiNachricht ConnectResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci) {
    auto n = MitAdresse(27, applId, capi::kConnect, capi::kResp, nummer, plci);
    LeSchreiben(n, 12, 1, 2);  // Reject 1: ignore the call
    return n;
}

CapiNachricht InfoResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci) {
    return MitAdresse(12, applId, capi::kInfo, capi::kResp, nummer, plci);
}

CapiNachricht DisconnectResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci) {
    return MitAdresse(12, applId, capi::kDisconnect, capi::kResp, nummer, plci);
}

CapiNachricht ConnectActiveResp(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci) {
    return MitAdresse(12, applId, capi::kConnectActive, capi::kResp, nummer, plci);
}

CapiNachricht ConnectReq(std::uint16_t applId, std::uint16_t nummer, std::string_view rufnummer,
                         std::string_view msn) {
    auto n = MitAdresse(14, applId, capi::kConnect, capi::kReq, nummer, 1);
    LeSchreiben(n, 12, 1, 2);                  // CIP speech
    NummernStruct(n, {0x80}, rufnummer);       // called party number
    NummernStruct(n, {0x00, 0x80}, msn);       // calling party number, presentation allowed
    n.insert(n.end(), {0, 0, 1, 0, 0, 0, 0});  // subaddresses, B protocol (one byte 0), BC, LLC, HLC
    LeSchreiben(n, 0, static_cast<std::uint32_t>(n.size()), 2);
    return n;
}

CapiNachricht DisconnectReq(std::uint16_t applId, std::uint16_t nummer, std::uint32_t plci) {
    return MitAdresse(13, applId, capi::kDisconnect, capi::kReq, nummer, plci);
}

CapiNachricht IndikationBeantworten(std::uint16_t applId, std::span<const std::uint8_t> indikation) {
    const auto kopf = KopfLesen(indikation);
    if (!kopf || kopf->unterbefehl != capi::kInd) return {};
    const auto parameter = ParameterLesen(indikation);
    const std::uint32_t adresse = Le32(parameter, 0);
    switch (kopf->befehl) {
        case capi::kConnect:
            return ConnectResp(applId, kopf->nummer, adresse);
        case capi::kConnectB3: {
            auto n = MitAdresse(15, applId, kopf->befehl, capi::kResp, kopf->nummer, adresse);
            LeSchreiben(n, 12, 2, 2);  // reject: the gateway carries no data
            return n;
        }
        case capi::kDataB3: {
            auto n = MitAdresse(14, applId, kopf->befehl, capi::kResp, kopf->nummer, adresse);
            LeSchreiben(n, 12, Le16(parameter, 10), 2);  // data handle
            return n;
        }
        case capi::kFacility: {
            auto n = MitAdresse(15, applId, kopf->befehl, capi::kResp, kopf->nummer, adresse);
            LeSchreiben(n, 12, Le16(parameter, 4), 2);  // facility selector
            return n;
        }
        default:
            return MitAdresse(12, applId, kopf->befehl, capi::kResp, kopf->nummer, adresse);
    }
}

}  // namespace rufpilot
