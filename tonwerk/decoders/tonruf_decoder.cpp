#include "tonwerk/decoders/tonruf_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace tonwerk {

namespace {

constexpr std::int32_t kMessPerioden = 40;
constexpr std::int32_t kHoechstePerioden = 10675;

}  // namespace

std::optional<Long> TonrufNummer(int art, std::int32_t perioden) {
    if (art == 1) {
        if (perioden >= 525 && perioden <= 3500) return 0;
        if (perioden >= 3501 && perioden <= 8750) return 1;
    } else if (art == 2) {
        if (perioden >= 640 && perioden <= 4270) return 2;
        if (perioden >= 4271 && perioden < kHoechstePerioden) return 3;
    }
    return std::nullopt;
}

void TonrufDecoder::laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& e, const Ratenkonstanten& k) {
    if (kanal < 0 || kanal > 1) return;
    Kanalzustand& z = kanaele_[static_cast<std::size_t>(kanal)];
    // Idle periods outside the start window change nothing; on noise they are
    // nearly all periods, so they are passed over here with the period in a register.
    const std::int32_t periodeMin = k.TonPeriodeMin;
    const std::int32_t periodeMax = k.TonPeriodeMax;
    std::int32_t periode = z.periode;
    for (const Halbwelle& lauf : laeufe) {
        if (lauf.Pegel != 0) {
            periode = lauf.Laenge;
            continue;
        }
        const std::int64_t p = static_cast<std::int64_t>(periode) + lauf.Laenge;
        periode = static_cast<std::int32_t>(std::clamp<std::int64_t>(p, std::numeric_limits<std::int32_t>::min(),
                                                                     std::numeric_limits<std::int32_t>::max()));
        if (z.zustand == 0 && (periode < periodeMin || periode > periodeMax)) continue;
        periodePruefen(kanal, z, periode, e, k);
    }
    z.periode = periode;
}

void TonrufDecoder::signalEnde(Integer kanal) {
    if (kanal < 0 || kanal > 1) return;
    Kanalzustand& z = kanaele_[static_cast<std::size_t>(kanal)];
    if (z.zustand == 2) {
        tonEnde(kanal, z);
    } else {
        z.zustand = 0;
    }
}

void TonrufDecoder::tonEnde(Integer kanal, Kanalzustand& z) {
    z.zustand = 0;
    if (const auto ruf = TonrufNummer(z.art, z.anzahl)) {
        TonrufType satz;
        satz.Kanal = kanal;
        satz.tonruf = *ruf;
        if (melden_) melden_(satz);
    }
}

void TonrufDecoder::periodePruefen(Integer kanal, Kanalzustand& z, std::int32_t p, const Einstellungen& e,
                                   const Ratenkonstanten& k) {
    const bool stetig = std::llabs(static_cast<std::int64_t>(p) - z.vorherige) <= static_cast<std::int64_t>(e.ZVEIDiffMax);
    switch (z.zustand) {
        case 0:
            if (p >= k.TonPeriodeMin && p <= k.TonPeriodeMax) {
                z.zustand = 1;
                z.anzahl = 1;
                z.summe = p;
                z.vorherige = p;
            }
            return;
        case 1:
            if (!stetig) {
                z.zustand = 0;
                return;
            }
            ++z.anzahl;
            z.summe += p;
            z.vorherige = p;
            if (z.anzahl == kMessPerioden) {
                if (z.summe >= k.Tonruf1Min && z.summe <= k.Tonruf1Max) {
                    z.art = 1;
                } else if (z.summe >= k.Tonruf2Min && z.summe <= k.Tonruf2Max) {
                    z.art = 2;
                } else {
                    z.art = 0;
                }
                z.zustand = z.art != 0 ? 2 : 0;
            }
            return;
        default:
            if (!stetig) {
                tonEnde(kanal, z);
                return;
            }
            ++z.anzahl;
            z.vorherige = p;
            if (z.anzahl >= kHoechstePerioden) z.zustand = 0;
            return;
    }
}

}  // namespace tonwerk
