#include "tonwerk/core/halbwellenanalyse.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tonwerk {

namespace {

// Frames per sign word: one bit per sample of the channel, frame 0 in bit 0.
constexpr int kWortFrames = 64;

// Sign bits (bit 7, i.e. level 128) of 16 frames of channel `kanal` at `p`.
inline std::uint64_t vorzeichen16(const std::uint8_t* p, int kanal) {
#if defined(__SSE2__)
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    if (kanal == 0) {
        a = _mm_slli_epi16(a, 8);
        b = _mm_slli_epi16(b, 8);
    }
    // The left sample is now the high byte of each 16-bit lane, as the right one
    // already was; saturating packing keeps the lane's sign, so the byte mask is
    // the channel's sign bits.
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(a, b)));
#else
    std::uint64_t m = 0;
    for (int i = 0; i < 16; ++i) m |= static_cast<std::uint64_t>(p[2 * i + kanal] >> 7) << i;
    return m;
#endif
}

// Sign bits of the `anzahl` (1..64) frames at `p`; bits above `anzahl` are 0.
inline std::uint64_t vorzeichenWort(const std::uint8_t* p, int anzahl, int kanal) {
    std::uint64_t m = 0;
    int i = 0;
    for (; i + 16 <= anzahl; i += 16) m |= vorzeichen16(p + 2 * i, kanal) << i;
    for (; i < anzahl; ++i) m |= static_cast<std::uint64_t>(p[2 * i + kanal] >> 7) << i;
    return m;
}

// Bit i set where frame w + i changes sign against the frame before it; `vorher`
// carries the sign of the word's last frame into the next word.
inline std::uint64_t wechselWort(const std::uint8_t* puffer, int w, int frames, int kanal, std::uint64_t& vorher) {
    const int anzahl = std::min(kWortFrames, frames - w);
    const std::uint64_t s = vorzeichenWort(puffer + 2 * w, anzahl, kanal);
    std::uint64_t wechsel = s ^ ((s << 1) | vorher);
    if (anzahl < kWortFrames) wechsel &= (std::uint64_t{1} << anzahl) - 1;
    vorher = s >> (kWortFrames - 1);
    return wechsel;
}

// One decision per sample, for a carried level other than 0 or 128, which no
// analysis produces but which the plain rule reads as a change at every sample.
int einfacheAnalyse(const std::uint8_t* puffer, int frames, int kanal, LaufZustand& zustand, int sampleFehlerRate,
                    Halbwelle* tabelle) {
    int lauf = zustand.Lauflaenge > frames ? 20 : zustand.Lauflaenge;
    int pegel = zustand.LetzterPegel;
    int n = 0;
    const std::uint8_t* p = puffer + kanal;
    for (int i = 0; i < frames; ++i, p += 2) {
        const int level = *p & 0x80;
        if (level == pegel) {
            ++lauf;
            continue;
        }
        if (lauf <= sampleFehlerRate && n > 0) {
            --n;
            lauf += tabelle[n].Laenge;
        } else {
            tabelle[n].Laenge = static_cast<std::int16_t>(lauf);
            tabelle[n].Pegel = static_cast<std::int16_t>(pegel);
            ++n;
            lauf = 1;
        }
        pegel = level;
    }
    zustand.Lauflaenge = static_cast<std::int16_t>(lauf);
    zustand.LetzterPegel = static_cast<std::int16_t>(pegel);
    return n;
}

// The glitch rate 1, the default: a glitch is a single sample, so the changes
// that merge are the 2nd, 4th, ... of each block of changes at consecutive
// samples, and only the block's length matters. A block of L changes ending at b
// leaves, for odd L, one run ending at b that absorbed (L-1)/2 glitches; for even
// L the last change is a merge and the run goes on, L/2 glitches longer. So the
// loop visits blocks, not changes. `start` is chosen so that the current run is
// `j - start` long at a change at frame j.
int analyseRateEins(const std::uint8_t* puffer, int frames, int kanal, LaufZustand& zustand, Halbwelle* tabelle) {
    int start = -(zustand.Lauflaenge > frames ? 20 : zustand.Lauflaenge);
    int pegel = zustand.LetzterPegel;
    std::uint64_t vorher = pegel != 0 ? 1 : 0;
    int n = 0;
    const auto block = [&](int a, int laenge) {
        const int b = a + laenge - 1;
        const int ungerade = laenge & 1;
        const int halb = laenge >> 1;
        const int lauf = b - start - halb;
        // Written for every block; an even one does not count it, so it is overwritten.
        tabelle[n].Laenge = static_cast<std::int16_t>(lauf);
        tabelle[n].Pegel = static_cast<std::int16_t>(pegel);
        n += ungerade;
        // ungerade ? b : start + halb, without a branch: odd and even are equally likely on noise
        start += halb + (lauf & -ungerade);
        pegel ^= ungerade << 7;
    };
    int offenAb = 0;     // first change of a block reaching the top of the previous word
    int offenLaenge = 0;  // its length so far, 0 for none
    for (int w = 0; w < frames; w += kWortFrames) {
        std::uint64_t wechsel = wechselWort(puffer, w, frames, kanal, vorher);
        if (offenLaenge != 0) {
            const int weiter = std::countr_one(wechsel);
            offenLaenge += weiter;
            if (weiter == kWortFrames) continue;
            wechsel &= wechsel + 1;
            block(offenAb, offenLaenge);
            offenLaenge = 0;
        }
        while (wechsel != 0) {
            const int a = std::countr_zero(wechsel);
            const int laenge = std::countr_one(wechsel >> a);
            if (a + laenge == kWortFrames) {
                offenAb = w + a;
                offenLaenge = laenge;
                break;
            }
            wechsel &= wechsel + (wechsel & (~wechsel + 1));  // clears the lowest block
            block(w + a, laenge);
        }
    }
    if (offenLaenge != 0) block(offenAb, offenLaenge);
    zustand.Lauflaenge = static_cast<std::int16_t>(std::max(frames, 0) - start);
    zustand.LetzterPegel = static_cast<std::int16_t>(pegel);
    return n;
}

}  // namespace

// The rule, per sample: a sign change ends the run; a run of at most
// SampleFehlerRate samples with a stored run before it is a glitch, so the stored
// run is taken back, the glitch added to it, and the sample of the change is not
// counted. On noise the changes are unpredictable, so the loop below visits only
// the changes (found 64 samples at a time from sign-bit masks) and decides each
// one without a branch. What makes that possible:
//  - A run that follows a stored one starts at 1, so its length is the raw
//    distance r between the two changes, and the glitch test is r <= rate.
//  - A merged run is longer than the stored run it absorbed, and that one was
//    longer than the rate unless it was the buffer's first entry, which leaves no
//    stored run behind it. So a merge is always followed by a store, and the test
//    for "a stored run before it" is just "the previous change was a store, and
//    not the buffer's start". The run to merge with is then the previous run, held
//    in a register instead of reloaded from the table.
// Every change writes its run at index n; a merge then moves n back, so the write
// is discarded.
int halbwellenanalyse(const std::uint8_t* puffer, int frames, int kanal, LaufZustand& zustand,
                      int sampleFehlerRate, Halbwelle* tabelle) {
    if (zustand.LetzterPegel != 0 && zustand.LetzterPegel != 128)
        return einfacheAnalyse(puffer, frames, kanal, zustand, sampleFehlerRate, tabelle);
    if (sampleFehlerRate == 1) return analyseRateEins(puffer, frames, kanal, zustand, tabelle);
    // A buffer without a sign change leaves a run longer than the buffer; it is cut
    // back so that it cannot grow without bound across silent buffers.
    int basis = zustand.Lauflaenge > frames ? 20 : zustand.Lauflaenge;  // length before the current run's samples
    int pegel = zustand.LetzterPegel;
    std::uint64_t vorher = pegel != 0 ? 1 : 0;  // sign of the sample before the word
    int n = 0;
    int letzter = 0;   // length of the previous run
    int vorMerge = 1;  // previous change was a merge, or none in this buffer yet
    int jVor = -1;     // frame of the previous change
    for (int w = 0; w < frames; w += kWortFrames) {
        std::uint64_t wechsel = wechselWort(puffer, w, frames, kanal, vorher);
        while (wechsel != 0) {
            const int j = w + std::countr_zero(wechsel);
            wechsel &= wechsel - 1;
            const int r = j - jVor;
            jVor = j;
            const int lauf = basis + r - 1;
            const int merge = static_cast<int>(r <= sampleFehlerRate) & (vorMerge ^ 1);
            tabelle[n].Laenge = static_cast<std::int16_t>(lauf);
            tabelle[n].Pegel = static_cast<std::int16_t>(pegel);
            n += 1 - 2 * merge;
            // merge ? lauf + letzter : 1, without a branch
            basis = 1 + ((lauf + letzter - 1) & -merge);
            letzter = lauf;
            vorMerge = merge;
            pegel ^= 0x80;
        }
    }
    zustand.Lauflaenge = static_cast<std::int16_t>(basis + std::max(frames, 0) - 1 - jVor);
    zustand.LetzterPegel = static_cast<std::int16_t>(pegel);
    return n;
}

void halbwellenanalyseStereo(const std::uint8_t* puffer, int frames, std::array<LaufZustand, 2>& zustand,
                             int sampleFehlerRate, Halbwelle* links, Halbwelle* rechts, int& nLinks, int& nRechts) {
    nLinks = halbwellenanalyse(puffer, frames, 0, zustand[0], sampleFehlerRate, links);
    nRechts = halbwellenanalyse(puffer, frames, 1, zustand[1], sampleFehlerRate, rechts);
}

std::int32_t pegelmessung(const std::uint8_t* puffer, int frames, int kanal) {
    std::int32_t spitze = 0;
    const int anzahl = std::min(frames, 10);
    for (int i = 0; i < anzahl; ++i) {
        spitze = std::max(spitze, static_cast<std::int32_t>(std::abs(puffer[2 * i + kanal] - 128)));
    }
    return spitze;
}

}  // namespace tonwerk
