// A CAPI driver without an adapter, for tests and the demo: it delivers the
// messages queued for it one at a time, records every message the gateway puts,
// and can play a small network that confirms requests and ends cleared calls.
// Deterministic: PLCIs and message numbers are handed out in order.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "rufpilot/capi/capi_nachrichten.h"
#include "rufpilot/capi/capi_treiber.h"

namespace rufpilot {

class SimulierteLeitung : public CapiTreiber {
public:
    // A message the gateway put, with the fields tests look at.
    struct Gesendet {
        CapiNachricht bytes;
        std::uint32_t applId = 0;
        std::uint8_t befehl = 0;
        std::uint8_t unterbefehl = 0;
        std::uint16_t nummer = 0;
        std::uint32_t adresse = 0;  // PLCI, NCCI or controller at offset 8
    };

    // --- what the driver reports
    void vorhandenSetzen(bool ja) { vorhanden_ = ja; }
    void applIdSetzen(std::uint32_t applId) { applId_ = applId; }
    // When set, holen reports this code instead of delivering.
    void abholfehlerSetzen(unsigned code) { abholfehler_ = code; }
    // Confirm requests and end cleared calls like a network (on by default).
    void netzSpielen(bool ja) { netz_ = ja; }
    // Info of the next CONNECT_CONFs (0 = the call-back rings).
    void waehlInfoSetzen(std::uint16_t info) { waehlInfo_ = info; }

    // --- messages to deliver; each returns the message number it carries
    std::uint16_t einreihen(CapiNachricht nachricht);
    // CONNECT_IND from a raw number area (Called, then Calling party number struct).
    std::uint16_t connectIndRoh(std::uint32_t plci, std::string_view nummernbereich, std::uint16_t cip = 1);
    // CONNECT_IND from the called digits and the calling struct's contents
    // (type octet, presentation octet, digits).
    std::uint16_t connectInd(std::uint32_t plci, std::string_view msn, std::string_view anruferStruct);
    std::uint16_t infoInd(std::uint32_t plci);
    std::uint16_t disconnectInd(std::uint32_t plci, std::uint16_t grund);
    std::uint16_t connectActiveInd(std::uint32_t plci);
    std::uint16_t connectConf(std::uint16_t nummer, std::uint32_t plci, std::uint16_t info);
    std::uint16_t indikation(std::uint8_t befehl, std::uint32_t adresse, std::size_t laenge = 12);
    std::size_t wartend() const { return warteschlange_.size(); }

    // --- what the gateway did
    const std::vector<Gesendet>& gesendet() const { return gesendet_; }
    void gesendetLeeren() { gesendet_.clear(); }
    int registrierungen() const { return registrierungen_; }
    int freigaben() const { return freigaben_; }
    // Rows "ALERT_REQ 0x0101 #0" etc.: name, address, message number.
    std::vector<std::string> protokoll() const;

    // CapiTreiber
    bool vorhanden(std::string& gesucht) override;
    std::uint32_t registrieren(std::uint32_t pufferGroesse, std::uint32_t maxVerbindungen,
                               std::uint32_t maxB3Bloecke, std::uint32_t maxB3Laenge) override;
    unsigned senden(std::uint32_t applId, std::span<const std::uint8_t> nachricht) override;
    unsigned holen(std::uint32_t applId, std::vector<std::uint8_t>& nachricht) override;
    void freigeben(std::uint32_t applId) override;

private:
    CapiNachricht kopf(std::size_t laenge, std::uint8_t befehl, std::uint8_t unterbefehl, std::uint16_t nummer,
                       std::uint32_t adresse);
    void netzAntwort(const Gesendet& g);

    std::deque<CapiNachricht> warteschlange_;
    std::vector<Gesendet> gesendet_;
    std::uint32_t applId_ = 1;
    std::uint32_t registriert_ = 0;
    std::uint16_t naechsteNummer_ = 0x100;
    std::uint32_t naechstePlci_ = 0x8101;
    std::uint16_t waehlInfo_ = 0;
    unsigned abholfehler_ = 0;
    int registrierungen_ = 0;
    int freigaben_ = 0;
    bool vorhanden_ = true;
    bool netz_ = true;
};

// The name of a command/subcommand pair, "CONNECT_REQ" and so on.
std::string CapiName(std::uint8_t befehl, std::uint8_t unterbefehl);

}  // namespace rufpilot
