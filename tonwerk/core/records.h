// Event records and the interface types of the Funkwandler control.
#pragma once

#include <cstdint>
#include <string>

namespace tonwerk {

using Integer = std::int16_t;
using Long = std::int32_t;
// A Boolean is 16 bits wide: True is -1, False is 0.
using Boolean = std::int16_t;
inline constexpr Boolean Wahr = -1;
inline constexpr Boolean Falsch = 0;

struct FmsTlgType {
    Integer Kanal = 0;
    std::string Kennung;
    Integer bos = 0;
    Integer land = 0;
    std::string ort;
    std::string fz;
    Integer Richtung = 0;
    Integer Status = 0;
    Integer tki = 0;
    Integer Baustufe = 0;
    std::string Text;
    Integer folgenr = 0;
    Integer iskurztext = 0;  // -1 when Text holds a short text
    Integer isfolgetelegramm = 0;
};

struct POCType {
    Integer Kanal = 0;
    Long RIC = 0;
    Long Funktion = 0;  // function bits + 1
    std::string Text;
    std::string TextBin;
    // Our own, filled with PocFehlerkorrektur True (0 otherwise): codewords of the
    // message, its address codeword included, that had wrong bits corrected, and
    // message codewords beyond correction, kept as received.
    Long KorrigierteWorte = 0;
    Long FehlerhafteWorte = 0;
};

struct ZVEIType {
    Integer Kanal = 0;
    std::string ZVEINr;
};

struct SignalstaerkeType {
    Long links = 0;
    Long rechts = 0;
};

struct TonrufType {
    Integer Kanal = 0;
    Long tonruf = 0;
};

// Our own: an additional signal of ZVEISenden (ZusatzTon 1 to 6) was heard.
struct ZusatztonType {
    Integer Kanal = 0;
    Long Zusatzton = 0;  // 1 = 2600 Hz wake-up tone, 2 to 6 = two-tone signals with 675 Hz
};

// The host's side of the event interface. Records are owned by the control and
// valid only during the call.
class FunkwandlerListener {
public:
    virtual ~FunkwandlerListener() = default;
    virtual void Signalstaerke(SignalstaerkeType& /*wert*/) {}
    virtual void FMSDecodierung(FmsTlgType& /*wert*/) {}
    virtual void ZVEIDecodierung(ZVEIType& /*wert*/) {}
    virtual void POCDecodierung(POCType& /*wert*/) {}
    virtual void PufferUeberlauf(Long& /*wert*/) {}
    virtual void WaveRecordEnd(Long& /*wert*/) {}
    virtual void TonrufDecodierung(Long& /*wert*/) {}
    virtual void TonrufDecodierungA(TonrufType& /*wert*/) {}
    virtual void ZusatztonDecodierung(ZusatztonType& /*wert*/) {}
};

}  // namespace tonwerk
