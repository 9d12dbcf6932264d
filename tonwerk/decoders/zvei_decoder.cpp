#include "tonwerk/decoders/zvei_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

namespace {

constexpr int kWartend = 10;

std::int32_t plusBegrenzt(std::int32_t a, std::int32_t b) {
    const std::int64_t s = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(s, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

// Settings as the state machine uses them. The deviation limit is held to 1..8 so
// that the failure states stay below the waiting state 10.
struct ZveiDecoder::Grenzen {
    std::int32_t periodeMin, periodeMax;
    std::int32_t tonMin, tonMax;
    std::int32_t prueflaenge;
    int fehlerMax;
    std::int64_t diffMax;
    Long abtastrate;

    Grenzen(const Einstellungen& e, const Ratenkonstanten& k)
        : periodeMin(k.TonPeriodeMin),
          periodeMax(k.TonPeriodeMax),
          tonMin(k.ZVEITonMin),
          tonMax(k.ZVEITonMax),
          prueflaenge(e.ZVEIPrueflaenge),
          fehlerMax(static_cast<int>(std::clamp<Long>(e.ZVEIFehlerMax, 1, 8))),
          diffMax(e.ZVEIDiffMax),
          abtastrate(e.Abtastrate) {}
};

char ZveiZiffer(std::int64_t tonsumme, Long abtastrate, Long prueflaenge) {
    if (prueflaenge <= 0) return 'F';
    // Other rates are not captured; they count as 11025 Hz like the rate constants.
    const double rate = NormaleAbtastrate(abtastrate);
    const double mittel =
        static_cast<double>(tonsumme) * 10.0 * (11025.0 / rate) / static_cast<double>(prueflaenge) + 0.5;
    const double v = std::floor(mittel);
    struct Fenster {
        int von, bis;
        char ziffer;
    };
    // Tried in this order; 75 lies in two windows and belongs to "4".
    static constexpr Fenster kFenster[] = {
        {100, 108, '1'}, {91, 99, '2'}, {82, 90, '3'}, {75, 81, '4'}, {69, 75, '5'}, {64, 68, '6'},
        {58, 63, '7'},   {53, 57, '8'}, {48, 52, '9'}, {44, 47, '0'}, {40, 43, 'W'},
    };
    for (const Fenster& f : kFenster) {
        if (v >= f.von && v <= f.bis) return f.ziffer;
    }
    return 'F';
}

std::optional<std::array<char, 5>> ZveiAuswertung(std::array<char, 5> ziffern) {
    for (std::size_t i = 1; i < ziffern.size(); ++i) {
        if (ziffern[i] == ziffern[i - 1]) return std::nullopt;
    }
    if (ziffern[0] == 'W') ziffern[0] = 'F';
    for (std::size_t i = 1; i < ziffern.size(); ++i) {
        if (ziffern[i] == 'W') ziffern[i] = ziffern[i - 1];
    }
    return ziffern;
}

void ZveiDecoder::laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& e, const Ratenkonstanten& k) {
    if (kanal < 0 || kanal > 1) return;
    const Grenzen g(e, k);
    Kanalzustand& z = kanaele_[static_cast<std::size_t>(kanal)];
    // Idle periods outside the start window change nothing; on noise they are
    // nearly all periods, so they are passed over here with the period in a register.
    std::int32_t periode = z.periode;
    for (const Halbwelle& lauf : laeufe) {
        if (lauf.Pegel != 0) {
            periode = lauf.Laenge;
            continue;
        }
        periode = plusBegrenzt(periode, lauf.Laenge);
        if (z.zustand == 0 && (periode < g.periodeMin || periode > g.periodeMax)) continue;
        periodePruefen(kanal, z, periode, g);
    }
    z.periode = periode;
}

void ZveiDecoder::signalEnde(Integer kanal) {
    if (kanal < 0 || kanal > 1) return;
    kanaele_[static_cast<std::size_t>(kanal)].zustand = 0;
}

void ZveiDecoder::periodePruefen(Integer kanal, Kanalzustand& z, std::int32_t p, const Grenzen& g) {
    const auto tonBeginnen = [&] {
        z.zustand = 1;
        z.dauer = p;
        z.referenz = p;
        z.tonsumme[static_cast<std::size_t>(z.tonIndex)] = p;
        z.anzahl = 1;
    };

    if (z.zustand == 0) {
        if (p >= g.periodeMin && p <= g.periodeMax) {
            z.tonIndex = 1;
            tonBeginnen();
        }
        return;
    }

    if (z.zustand <= g.fehlerMax) {
        z.dauer = plusBegrenzt(z.dauer, p);
        if (std::llabs(static_cast<std::int64_t>(p) - z.referenz) > g.diffMax) {
            ++z.zustand;
            return;
        }
        z.tonsumme[static_cast<std::size_t>(z.tonIndex)] += p;
        z.anzahl = plusBegrenzt(z.anzahl, 1);
        z.zustand = 1;
        if (z.anzahl == g.prueflaenge) {
            ++z.tonIndex;
            if (z.tonIndex == 6) melden(kanal, z, g);
            z.zustand = kWartend;
        }
        return;
    }

    if (z.zustand < kWartend) {
        // Too many deviations: this period is spent on the failure, not on a new start.
        z.zustand = 0;
        return;
    }

    z.dauer = plusBegrenzt(z.dauer, p);
    if (z.dauer < g.tonMin) return;
    if (z.dauer > g.tonMax || z.tonIndex > 5) {
        z.zustand = 0;
    } else {
        tonBeginnen();
    }
}

void ZveiDecoder::melden(Integer kanal, const Kanalzustand& z, const Grenzen& g) {
    std::array<char, 5> ziffern{};
    for (std::size_t i = 0; i < ziffern.size(); ++i) {
        ziffern[i] = ZveiZiffer(z.tonsumme[i + 1], g.abtastrate, g.prueflaenge);
    }
    const auto folge = ZveiAuswertung(ziffern);
    if (!folge) return;
    ZVEIType satz;
    satz.Kanal = kanal;
    satz.ZVEINr.assign(folge->begin(), folge->end());
    if (melden_) melden_(satz);
}

}  // namespace tonwerk
