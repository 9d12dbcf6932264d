#include "tonwerk/core/ratenkonstanten.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

namespace {

int rateIndex(Long abtastrate) { return AbtastrateStufe(abtastrate).value_or(0); }

Long msInSamples(Long ms, Long abtastrate) {
    static constexpr double kSamplesJeMs[3] = {11.025, 22.05, 44.1};
    // nearbyint rounds half to even in the default rounding mode. A setting far
    // beyond any tone length saturates instead of overflowing the conversion.
    const double samples = std::nearbyint(static_cast<double>(ms) * kSamplesJeMs[rateIndex(abtastrate)]);
    return static_cast<Long>(std::clamp(samples, static_cast<double>(std::numeric_limits<Long>::min()),
                                        static_cast<double>(std::numeric_limits<Long>::max())));
}

}  // namespace

Ratenkonstanten berechneRatenkonstanten(Long abtastrate, Long zvei70msMin, Long zvei70msMax) {
    struct Zeile {
        Long puffer;
        Integer langMin, langMax, kurzMin, kurzMax, bitSchwelle, tonMin, tonMax;
        Long ruf1Min, ruf1Max, ruf2Min, ruf2Max;
    };
    static constexpr Zeile kTabelle[3] = {
        {5512, 4, 6, 2, 3, 7, 4, 11, 245, 260, 199, 213},
        {8196, 8, 11, 5, 7, 15, 8, 22, 497, 511, 406, 420},
        {11025, 16, 21, 10, 15, 31, 14, 44, 1001, 1015, 819, 833},
    };
    const Zeile& z = kTabelle[rateIndex(abtastrate)];
    Ratenkonstanten k;
    k.RecordPufferSize = z.puffer;
    k.FmsLangMin = z.langMin;
    k.FmsLangMax = z.langMax;
    k.FmsKurzMin = z.kurzMin;
    k.FmsKurzMax = z.kurzMax;
    k.FmsBitSchwelle = z.bitSchwelle;
    k.TonPeriodeMin = z.tonMin;
    k.TonPeriodeMax = z.tonMax;
    k.ZVEITonMin = msInSamples(zvei70msMin, abtastrate);
    k.ZVEITonMax = msInSamples(zvei70msMax, abtastrate);
    k.Tonruf1Min = z.ruf1Min;
    k.Tonruf1Max = z.ruf1Max;
    k.Tonruf2Min = z.ruf2Min;
    k.Tonruf2Max = z.ruf2Max;
    return k;
}

void berechnePocKonstanten(Ratenkonstanten& k, Long abtastrate, Long baud) {
    struct Zeile {
        Integer laufMin, laufMax, bitRundung, bitLaenge;
    };
    // [baud 512/1200][rate 11025/22050/44100]. The preamble windows keep the
    // tolerance of the 11025 Hz ones, in samples times the rate factor: a
    // window of a few samples around the bit length loses the preamble count
    // whenever band-limited noise shifts one zero crossing by two samples.
    static constexpr Zeile kTabelle[2][3] = {
        {{16, 24, 6, 21}, {32, 48, 20, 42}, {64, 96, 40, 86}},
        {{7, 11, 3, 9}, {14, 22, 7, 19}, {28, 44, 15, 38}},
    };
    const Zeile& z = kTabelle[baud == 1200 ? 1 : 0][rateIndex(abtastrate)];
    k.PocLaufMin = z.laufMin;
    k.PocLaufMax = z.laufMax;
    k.PocBitRundung = z.bitRundung;
    k.PocBitLaenge = z.bitLaenge;
}

}  // namespace tonwerk
