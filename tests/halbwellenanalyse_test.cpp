#include "tonwerk/core/halbwellenanalyse.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tonwerk {
namespace {

// The run analysis written the plain way, one decision per sample.
int referenz(const std::vector<std::uint8_t>& puffer, int frames, int kanal, LaufZustand& z, int fehlerRate,
             std::vector<Halbwelle>& t) {
    int lauf = z.Lauflaenge > frames ? 20 : z.Lauflaenge;
    int pegel = z.LetzterPegel;
    int n = 0;
    for (int i = 0; i < frames; ++i) {
        const int level = puffer[2 * i + kanal] & 128;
        if (level == pegel) {
            ++lauf;
            continue;
        }
        if (lauf <= fehlerRate && n > 0) {
            --n;
            lauf += t[n].Laenge;
        } else {
            t[n] = {static_cast<std::int16_t>(lauf), static_cast<std::int16_t>(pegel)};
            ++n;
            lauf = 1;
        }
        pegel = level;
    }
    z = {static_cast<std::int16_t>(lauf), static_cast<std::int16_t>(pegel)};
    return n;
}

TEST(Halbwellenanalyse, MatchesThePlainAlgorithmOnRandomAudio) {
    std::mt19937 rng(42);
    for (int fehlerRate : {0, 1, 2, 5}) {
        for (int mittel : {1, 3, 40}) {  // mean run length in samples
            LaufZustand zRef[2], zMono[2];
            std::array<LaufZustand, 2> zStereo{};
            for (int puffer = 0; puffer < 6; ++puffer) {
                const int frames = 1 + static_cast<int>(rng() % 3000);
                std::vector<std::uint8_t> daten(2 * static_cast<std::size_t>(frames));
                std::uint8_t wert[2] = {100, 100};
                for (int i = 0; i < frames; ++i)
                    for (int k = 0; k < 2; ++k) {
                        if (rng() % static_cast<unsigned>(mittel) == 0) wert[k] = static_cast<std::uint8_t>(rng());
                        daten[2 * static_cast<std::size_t>(i) + k] = wert[k];
                    }
                std::vector<Halbwelle> tRef(frames + 1), tMono(frames + 1), tL(frames + 1), tR(frames + 1);
                int nL = 0, nR = 0;
                halbwellenanalyseStereo(daten.data(), frames, zStereo, fehlerRate, tL.data(), tR.data(), nL, nR);
                for (int k = 0; k < 2; ++k) {
                    const int nRef = referenz(daten, frames, k, zRef[k], fehlerRate, tRef);
                    const int nMono = halbwellenanalyse(daten.data(), frames, k, zMono[k], fehlerRate, tMono.data());
                    ASSERT_EQ(nRef, nMono);
                    ASSERT_EQ(nRef, k == 0 ? nL : nR);
                    const auto& tStereo = k == 0 ? tL : tR;
                    for (int i = 0; i < nRef; ++i) {
                        ASSERT_EQ(tRef[i].Laenge, tMono[i].Laenge) << i;
                        ASSERT_EQ(tRef[i].Pegel, tMono[i].Pegel) << i;
                        ASSERT_EQ(tRef[i].Laenge, tStereo[i].Laenge) << i;
                        ASSERT_EQ(tRef[i].Pegel, tStereo[i].Pegel) << i;
                    }
                    ASSERT_EQ(zRef[k].Lauflaenge, zMono[k].Lauflaenge);
                    ASSERT_EQ(zRef[k].Lauflaenge, zStereo[k].Lauflaenge);
                    ASSERT_EQ(zRef[k].LetzterPegel, zStereo[k].LetzterPegel);
                }
            }
        }
    }
}

}  // namespace
}  // namespace tonwerk
