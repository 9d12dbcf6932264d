#include "tonwerk/core/halbwellenanalyse.h"

#include <gtest/gtest.h>

#include <functional>
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

// Feeds `puffer` buffers made by `erzeugen(frames, daten)` through the reference,
// the one-channel call and the stereo call, with states carried from buffer to
// buffer, and requires the same tables and states from all three.
void vergleichen(int fehlerRate, int puffer, const std::function<int()>& laenge,
                 const std::function<void(int, std::vector<std::uint8_t>&)>& erzeugen,
                 std::array<LaufZustand, 2> start = {}) {
    std::array<LaufZustand, 2> zRef = start, zMono = start, zStereo = start;
    for (int b = 0; b < puffer; ++b) {
        const int frames = laenge();
        std::vector<std::uint8_t> daten(2 * static_cast<std::size_t>(frames));
        erzeugen(frames, daten);
        const std::size_t platz = static_cast<std::size_t>(frames) + 1;
        std::vector<Halbwelle> tRef(platz), tMono(platz), tL(platz), tR(platz);
        int nL = 0, nR = 0;
        halbwellenanalyseStereo(daten.data(), frames, zStereo, fehlerRate, tL.data(), tR.data(), nL, nR);
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE(testing::Message() << "rate " << fehlerRate << " buffer " << b << " channel " << k
                                            << " frames " << frames);
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
            ASSERT_EQ(zRef[k].LetzterPegel, zMono[k].LetzterPegel);
            ASSERT_EQ(zRef[k].Lauflaenge, zStereo[k].Lauflaenge);
            ASSERT_EQ(zRef[k].LetzterPegel, zStereo[k].LetzterPegel);
        }
    }
}

// Audio whose sign holds for a random number of samples with mean `mittel`.
std::function<void(int, std::vector<std::uint8_t>&)> zufallsAudio(std::mt19937& rng, int mittel) {
    return [&rng, mittel](int frames, std::vector<std::uint8_t>& daten) {
        std::uint8_t wert[2] = {100, 100};
        for (int i = 0; i < frames; ++i)
            for (int k = 0; k < 2; ++k) {
                if (rng() % static_cast<unsigned>(mittel) == 0) wert[k] = static_cast<std::uint8_t>(rng());
                daten[2 * static_cast<std::size_t>(i) + k] = wert[k];
            }
    };
}

constexpr int kRaten[] = {-32768, -1, 0, 1, 2, 3, 5, 63, 64, 1000, 32767};

TEST(Halbwellenanalyse, MatchesThePlainAlgorithmOnRandomAudio) {
    std::mt19937 rng(42);
    for (int fehlerRate : kRaten) {
        for (int mittel : {1, 2, 3, 40, 400}) {  // mean run length in samples
            vergleichen(fehlerRate, 6, [&] { return 1 + static_cast<int>(rng() % 3000); }, zufallsAudio(rng, mittel));
            if (HasFatalFailure()) return;
        }
    }
}

TEST(Halbwellenanalyse, MatchesAtBufferLengthsAroundTheWordSize) {
    std::mt19937 rng(5);
    for (int fehlerRate : {0, 1, 2, 70}) {
        for (int frames : {1, 2, 15, 16, 17, 31, 63, 64, 65, 127, 128, 129, 11025}) {
            vergleichen(fehlerRate, 4, [frames] { return frames; }, zufallsAudio(rng, 2));
            if (HasFatalFailure()) return;
        }
    }
}

// Left, every sample changes sign: every run is a glitch candidate, merges and
// stores alternate, and the changes form blocks longer than a word of 64 samples.
TEST(Halbwellenanalyse, MatchesOnAlternatingSamples) {
    for (int fehlerRate : kRaten) {
        int phase = 0;
        int b = 0;
        vergleichen(fehlerRate, 6, [&b] { return ++b % 2 ? 101 : 200; }, [&phase](int frames, std::vector<std::uint8_t>& d) {
            for (int i = 0; i < frames; ++i, ++phase) {
                d[2 * static_cast<std::size_t>(i)] = phase % 2 ? 200 : 10;
                d[2 * static_cast<std::size_t>(i) + 1] = phase % 3 ? 128 : 127;
            }
        });
        if (HasFatalFailure()) return;
    }
}

// Runs longer than a buffer are carried; a buffer without any change cuts the
// carried length to 20, and the runs around such buffers are glitch candidates
// at the buffer's start.
TEST(Halbwellenanalyse, CarriesRunsAcrossBuffersAndCutsThemAfterASilentOne) {
    std::mt19937 rng(9);
    for (int fehlerRate : {0, 1, 2, 25, 32767}) {
        int b = 0;
        vergleichen(fehlerRate, 40, [&rng] { return 1 + static_cast<int>(rng() % 200); },
                    [&b, &rng](int, std::vector<std::uint8_t>& d) {
                        // Mostly constant buffers, some with a change in the first or last samples.
                        const std::uint8_t grund = (b++ / 3) % 2 ? 0 : 255;
                        std::fill(d.begin(), d.end(), grund);
                        const int art = static_cast<int>(rng() % 4);
                        const auto anders = static_cast<std::uint8_t>(grund ^ 0x80);
                        if (art == 1) d[0] = d[1] = anders;
                        if (art == 2) d[d.size() - 1] = d[d.size() - 2] = anders;
                    });
        if (HasFatalFailure()) return;
    }
}

TEST(Halbwellenanalyse, MatchesFromAnyCarriedState) {
    std::mt19937 rng(11);
    for (int fehlerRate : {0, 1, 3}) {
        for (LaufZustand z : {LaufZustand{1, 0}, LaufZustand{1, 128}, LaufZustand{500, 128}, LaufZustand{0, 0},
                              LaufZustand{-7, 128}, LaufZustand{30000, 0}, LaufZustand{4, 5}}) {
            vergleichen(fehlerRate, 3, [&rng] { return 1 + static_cast<int>(rng() % 700); }, zufallsAudio(rng, 3),
                        {z, z});
            if (HasFatalFailure()) return;
        }
    }
}

TEST(Halbwellenanalyse, GlitchesAreMergedIntoTheStoredRun) {
    // Left: 5 high, 1 low, 4 high, 3 low. The single low sample is a glitch: the
    // stored 5 is taken back and continues as 5 + 1 + (4 - 1), the sample of the
    // change itself is not counted.
    const std::uint8_t hoch = 200, tief = 50;
    std::vector<std::uint8_t> d;
    for (std::uint8_t v : {tief, hoch, hoch, hoch, hoch, hoch, tief, hoch, hoch, hoch, hoch, tief, tief, tief}) {
        d.push_back(v);
        d.push_back(128);
    }
    LaufZustand z{1, 0};
    std::vector<Halbwelle> t(d.size() / 2);
    const int n = halbwellenanalyse(d.data(), static_cast<int>(d.size() / 2), 0, z, 1, t.data());
    ASSERT_EQ(n, 2);
    EXPECT_EQ(t[0].Laenge, 2);  // the carried 1 plus the first sample
    EXPECT_EQ(t[0].Pegel, 0);
    EXPECT_EQ(t[1].Laenge, 9);
    EXPECT_EQ(t[1].Pegel, 128);
    EXPECT_EQ(z.Lauflaenge, 3);
    EXPECT_EQ(z.LetzterPegel, 0);
}

}  // namespace
}  // namespace tonwerk
