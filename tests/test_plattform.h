// A control on simulated platform pieces, with hand-ticked timers and a listener
// that keeps every event it receives.
#pragma once

#include <string>
#include <vector>

#include "einspeiser.h"
#include "tonwerk/core/bestueckung.h"

namespace tonwerk::test {

struct StummeAusgabe : SoundAusgabe {
    std::vector<std::filesystem::path> gespielt;
    void abspielen(const std::filesystem::path& datei) override { gespielt.push_back(datei); }
};

struct Mitschrift : FunkwandlerListener {
    std::vector<SignalstaerkeType> pegel;
    std::vector<FmsTlgType> fms;
    std::vector<ZVEIType> zvei;
    std::vector<POCType> poc;
    std::vector<Long> ueberlauf;
    std::vector<Long> recordEnde;
    std::vector<TonrufType> tonrufA;
    std::vector<Long> tonruf;
    std::vector<ZusatztonType> zusatzton;
    std::vector<std::string> reihenfolge;  // event names in the order raised

    void Signalstaerke(SignalstaerkeType& w) override { pegel.push_back(w), reihenfolge.push_back("Signalstaerke"); }
    void FMSDecodierung(FmsTlgType& w) override { fms.push_back(w), reihenfolge.push_back("FMSDecodierung"); }
    void ZVEIDecodierung(ZVEIType& w) override { zvei.push_back(w), reihenfolge.push_back("ZVEIDecodierung"); }
    void POCDecodierung(POCType& w) override { poc.push_back(w), reihenfolge.push_back("POCDecodierung"); }
    void PufferUeberlauf(Long& w) override { ueberlauf.push_back(w), reihenfolge.push_back("PufferUeberlauf"); }
    void WaveRecordEnd(Long& w) override { recordEnde.push_back(w), reihenfolge.push_back("WaveRecordEnd"); }
    void TonrufDecodierung(Long& w) override { tonruf.push_back(w), reihenfolge.push_back("TonrufDecodierung"); }
    void TonrufDecodierungA(TonrufType& w) override {
        tonrufA.push_back(w), reihenfolge.push_back("TonrufDecodierungA");
    }
    void ZusatztonDecodierung(ZusatztonType& w) override {
        zusatzton.push_back(w), reihenfolge.push_back("ZusatztonDecodierung");
    }
};

struct TestKontrolle : Bestueckung<SimulierterEingang, StummeAusgabe> {
    Mitschrift ereignisse;

    TestKontrolle() { fw.setListener(&ereignisse); }
    ~TestKontrolle() { fw.setListener(nullptr); }  // the listener goes before the control

    // Feeds 8-bit stereo audio and processes every buffer it fills.
    void einspeisen(const std::vector<std::uint8_t>& stereo, bool abschliessen = true) {
        eingang.anhaengen(stereo);
        if (abschliessen) eingang.abschliessen();
        while (eingang.fuellen() > 0) timer1.tick();
    }
};

}  // namespace tonwerk::test
