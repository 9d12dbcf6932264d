// The control's settings, one field per property, in the form the control
// holds them (sample rate in Hz, baud rate in baud, Vorlauf bounds doubled).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "tonwerk/core/records.h"

namespace tonwerk {

enum Dekoder : int { DekFMS = 0, DekZVEI = 1, DekPOC = 2, DekTonruf = 3, DekZusatzton = 4 };

struct Einstellungen {
    Long SoundCard = 0;
    Long Abtastrate = 11025;
    Long RecordPufferSize = 5512;
    Long PocBaud = 512;
    Integer PocPraambels = 500;
    std::string PocSyncWord = "01111100110100100001010111011000";
    std::string PocIdleWord = "01111010100010011100000110010111";
    Boolean FMScrcCheck = Wahr;
    Integer FMSVorlaufMin2 = 14;  // twice FMSVorlaufMin
    Integer FMSVorlaufMax2 = 38;  // twice FMSVorlaufMax
    Long FMSOrtLaenge = 4;
    Boolean FMSKurztextTRBOS = Falsch;
    Long ZVEI70msMin = 73;
    Long ZVEI70msMax = 80;
    Long ZVEIPrueflaenge = 40;
    Long ZVEIFehlerMax = 2;
    Long ZVEIDiffMax = 1;
    Integer SampleFehlerRate = 1;
    // [channel][decoder]: 1 = decode, 0 = do not; channel 0 = left, 1 = right.
    // Decoder 4, the additional signals, is our own.
    std::array<std::array<Long, 5>, 2> Dekodieren{{{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}}};
    Integer FunkAnschluss = 1;
    Integer Ausgangspegel = 60;
    Integer PocAusgangspegel = 60;
    Boolean PocPhaseUmkehren = Falsch;
    Long PocSendPreambellaenge = 576;
    Long FMSSendeVorlauf = 200;
    // Our own: each decoder reads audio conditioned for its signal (tonwerk/empfang).
    Boolean Empfangsfilter = Falsch;
    // Our own: POCSAG codewords checked (BCH and parity), up to two wrong bits corrected.
    Boolean PocFehlerkorrektur = Wahr;
    // Tones at their exact frequency instead of whole-degree phase steps.
    Boolean GenaueFrequenzen = Falsch;
    // Where the transmit files test.wav and pocaus.wav are written.
    std::filesystem::path Sendeverzeichnis;
};

}  // namespace tonwerk
