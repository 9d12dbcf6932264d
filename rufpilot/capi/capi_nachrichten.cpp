#include "rufpilot/capi/capi_nachrichten.h"

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_lesen.h"

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

void Ziffern(CapiNachricht& n, std::size_t offset, std::string_view text, std::size_t breite, char fuellung) {
    for (std::size_t i = 0; i < breite; ++i) {
        n[offset + i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : fuellung);
    }
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
    auto n = MitAdresse(46, applId, capi::kConnect, capi::kReq, nummer, 1);
    LeSchreiben(n, 12, 1, 2);  // CIP speech
    n[14] = 13;                // called party number
    n[15] = 0x80;
    Ziffern(n, 16, rufnummer, 12, '0');
    n[28] = 10;  // calling party number
    n[29] = 0x00;
    n[30] = 0x80;
    Ziffern(n, 31, msn, 8, ' ');
    n[41] = 1;  // B protocol: one byte 0
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
