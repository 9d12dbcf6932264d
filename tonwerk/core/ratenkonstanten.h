// Run-length constants that depend on the sample rate (and, for POCSAG, on the
// baud rate). All values are sample counts at the current rate.
#pragma once

#include "tonwerk/core/records.h"

namespace tonwerk {

struct Ratenkonstanten {
    Long RecordPufferSize = 5512;
    Integer FmsLangMin = 4;
    Integer FmsLangMax = 6;
    Integer FmsKurzMin = 2;
    Integer FmsKurzMax = 3;
    Integer FmsBitSchwelle = 7;
    Integer TonPeriodeMin = 4;
    Integer TonPeriodeMax = 11;
    Long ZVEITonMin = 805;
    Long ZVEITonMax = 882;
    Long Tonruf1Min = 245;
    Long Tonruf1Max = 260;
    Long Tonruf2Min = 199;
    Long Tonruf2Max = 213;
    // POCSAG
    Integer PocLaufMin = 16;
    Integer PocLaufMax = 24;
    Integer PocBitRundung = 6;
    Integer PocBitLaenge = 21;
};

// Rate constants for 11025, 22050 or 44100 Hz (any other rate counts as 11025);
// ZVEITonMin/Max are the millisecond settings turned into samples, rounded half to even.
Ratenkonstanten berechneRatenkonstanten(Long abtastrate, Long zvei70msMin, Long zvei70msMax);

// Fills the POCSAG constants of k for the given rate and baud (512 or 1200).
void berechnePocKonstanten(Ratenkonstanten& k, Long abtastrate, Long baud);

}  // namespace tonwerk
