#include "rufpilot/simulation/simulierte_leitung.h"

#include <cstdio>

#include "rufpilot/capi/capi_bytes.h"
#include "rufpilot/capi/capi_lesen.h"

namespace rufpilot {

std::string CapiName(std::uint8_t befehl, std::uint8_t unterbefehl) {
    std::string name;
    switch (befehl) {
        case capi::kAlert: name = "ALERT"; break;
        case capi::kConnect: name = "CONNECT"; break;
        case capi::kConnectActive: name = "CONNECT_ACTIVE"; break;
        case capi::kDisconnect: name = "DISCONNECT"; break;
        case capi::kListen: name = "LISTEN"; break;
        case capi::kInfo: name = "INFO"; break;
        case capi::kFacility: name = "FACILITY"; break;
        case capi::kConnectB3: name = "CONNECT_B3"; break;
        case capi::kDataB3: name = "DATA_B3"; break;
        default: name = "0x" + std::to_string(befehl);
    }
    switch (unterbefehl) {
        case capi::kReq: return name + "_REQ";
        case capi::kConf: return name + "_CONF";
        case capi::kInd: return name + "_IND";
        case capi::kResp: return name + "_RESP";
        default: return name + "_" + std::to_string(unterbefehl);
    }
}

CapiNachricht SimulierteLeitung::kopf(std::size_t laenge, std::uint8_t befehl, std::uint8_t unterbefehl,
                                      std::uint16_t nummer, std::uint32_t adresse) {
    CapiNachricht n = capi::KopfBauen(laenge, static_cast<std::uint16_t>(registriert_), befehl, unterbefehl, nummer);
    LeSchreiben(n, 8, adresse, 4);
    return n;
}

std::uint16_t SimulierteLeitung::einreihen(CapiNachricht nachricht) {
    const std::uint16_t nummer = Le16(nachricht, 6);
    warteschlange_.push_back(std::move(nachricht));
    return nummer;
}

std::uint16_t SimulierteLeitung::connectIndRoh(std::uint32_t plci, std::string_view nummernbereich, std::uint16_t cip) {
    auto n = kopf(14, capi::kConnect, capi::kInd, naechsteNummer_++, plci);
    LeSchreiben(n, 12, cip, 2);
    n.insert(n.end(), nummernbereich.begin(), nummernbereich.end());
    LeSchreiben(n, 0, static_cast<std::uint32_t>(n.size()), 2);
    return einreihen(std::move(n));
}

std::uint16_t SimulierteLeitung::connectInd(std::uint32_t plci, std::string_view msn, std::string_view anruferStruct) {
    std::string bereich;
    bereich.push_back(static_cast<char>(msn.size() + 1));
    bereich.push_back('\x81');
    bereich += msn;
    bereich.push_back(static_cast<char>(anruferStruct.size()));
    bereich += anruferStruct;
    bereich.append(5, '\0');  // the empty structs that follow in a real CONNECT_IND
    return connectIndRoh(plci, bereich);
}

std::uint16_t SimulierteLeitung::infoInd(std::uint32_t plci) { return indikation(capi::kInfo, plci, 15); }

std::uint16_t SimulierteLeitung::disconnectInd(std::uint32_t plci, std::uint16_t grund) {
    auto n = kopf(14, capi::kDisconnect, capi::kInd, naechsteNummer_++, plci);
    LeSchreiben(n, 12, grund, 2);
    return einreihen(std::move(n));
}

std::uint16_t SimulierteLeitung::connectActiveInd(std::uint32_t plci) {
    return indikation(capi::kConnectActive, plci, 15);
}

std::uint16_t SimulierteLeitung::connectConf(std::uint16_t nummer, std::uint32_t plci, std::uint16_t info) {
    auto n = kopf(14, capi::kConnect, capi::kConf, nummer, plci);
    LeSchreiben(n, 12, info, 2);
    return einreihen(std::move(n));
}

std::uint16_t SimulierteLeitung::indikation(std::uint8_t befehl, std::uint32_t adresse, std::size_t laenge) {
    return einreihen(kopf(laenge, befehl, capi::kInd, naechsteNummer_++, adresse));
}

std::vector<std::string> SimulierteLeitung::protokoll() const {
    std::vector<std::string> zeilen;
    for (const auto& g : gesendet_) {
        char adresse[16];
        std::snprintf(adresse, sizeof adresse, "0x%04X", static_cast<unsigned>(g.adresse));
        zeilen.push_back(CapiName(g.befehl, g.unterbefehl) + " " + adresse + " #" + std::to_string(g.nummer));
    }
    return zeilen;
}

bool SimulierteLeitung::vorhanden(std::string& gesucht) {
    gesucht = "simulierte Leitung";
    return vorhanden_;
}

std::uint32_t SimulierteLeitung::registrieren(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
    ++registrierungen_;
    registriert_ = applId_;
    return applId_;
}

unsigned SimulierteLeitung::senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) {
    if (registriert_ == 0 || applId != registriert_) return kCapiFalscheApplId;
    const auto k = KopfLesen(nachricht);
    if (!k) return kCapiFalscheNachricht;
    Gesendet g{{nachricht.begin(), nachricht.end()}, applId, k->befehl, k->unterbefehl, k->nummer,
               Le32(nachricht, 8)};
    gesendet_.push_back(g);
    if (netz_) netzAntwort(g);
    return 0;
}

void SimulierteLeitung::netzAntwort(const Gesendet& g) {
    if (g.unterbefehl != capi::kReq) return;
    switch (g.befehl) {
        case capi::kListen:
        case capi::kAlert: {
            auto n = kopf(14, g.befehl, capi::kConf, g.nummer, g.adresse);
            einreihen(std::move(n));
            break;
        }
        case capi::kConnect: {
            const std::uint32_t plci = waehlInfo_ == 0 ? naechstePlci_ : 0;
            if (waehlInfo_ == 0) naechstePlci_ += 0x100;
            connectConf(g.nummer, plci, waehlInfo_);
            break;
        }
        case capi::kDisconnect: {
            auto n = kopf(14, g.befehl, capi::kConf, g.nummer, g.adresse);
            einreihen(std::move(n));
            disconnectInd(g.adresse, 0x3400);  // normal call clearing
            break;
        }
        default: break;
    }
}

unsigned SimulierteLeitung::holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) {
    if (abholfehler_ != 0) return abholfehler_;
    if (registriert_ == 0 || applId != registriert_) return kCapiFalscheApplId;
    if (warteschlange_.empty()) return kCapiWarteschlangeLeer;
    nachricht = std::move(warteschlange_.front());
    warteschlange_.pop_front();
    return 0;
}

void SimulierteLeitung::freigeben(std::uint32_t applId) {
    if (applId == registriert_) registriert_ = 0;
    ++freigaben_;
}

}  // namespace rufpilot
