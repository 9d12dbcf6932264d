#include "tonwerk/decoders/zusatzton_decoder.h"

#include <algorithm>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

namespace {

// In blocks of 128 samples at 11025 Hz (11.6 ms).
constexpr int kHalten = 4;           // blocks of another class bridged inside a signal
constexpr int kZweiton = 172;        // 2.0 s
constexpr int kStossMin = 43;        // 0.5 s: a wake-up burst, and how much of the second one
constexpr int kStossMax = 103;       // 1.2 s
constexpr int kPauseMin = 9;         // 0.1 s
constexpr int kPauseMax = 39;        // 0.45 s
constexpr int kWeckton = 1;

}  // namespace

ZusatztonDecoder::ZusatztonDecoder(Melder melden) : melden_(std::move(melden)) {}

void ZusatztonDecoder::pufferPruefung(Integer kanal, const std::uint8_t* puffer, int frames, Long abtastrate) {
    if ((kanal != 0 && kanal != 1) || puffer == nullptr) return;
    Kanalzustand& k = kanaele_[static_cast<std::size_t>(kanal)];
    if (k.rate != abtastrate) {
        k.rate = abtastrate;
        k.faktor = NormaleAbtastrate(abtastrate) / 11025;
        k.rest = k.summe = 0;
    }
    const std::uint8_t* p = puffer + kanal;
    int i = 0;
    // An average left incomplete at the end of the last buffer is finished first.
    for (; i < frames && k.rest != 0; ++i) {
        k.summe += p[2 * i];
        if (++k.rest == k.faktor) {
            ablegen(kanal, k, static_cast<float>(k.summe) / static_cast<float>(k.faktor) - 128.0f);
            k.rest = k.summe = 0;
        }
    }
    // With the factor fixed at compile time the sums unroll; the averages go
    // straight into the block, as far as it or the buffer reaches.
    const auto mitteln = [&]<int F>() {
        while (i + F <= frames) {
            const int n = std::min((frames - i) / F, kBlock - k.position);
            float* ziel = k.block.data() + k.position;
            const std::uint8_t* q = p + 2 * i;
            for (int m = 0; m < n; ++m, q += 2 * F) {
                int summe = 0;
                for (int j = 0; j < F; ++j) summe += q[2 * j];
                ziel[m] = static_cast<float>(summe) * (1.0f / F) - 128.0f;
            }
            i += n * F;
            k.position += n;
            if (k.position == kBlock) {
                k.position = 0;
                schritt(kanal, k, bank_.klasse(k.block.data()));
            }
        }
    };
    if (k.faktor == 4) {
        mitteln.operator()<4>();
    } else if (k.faktor == 2) {
        mitteln.operator()<2>();
    } else {
        mitteln.operator()<1>();
    }
    for (; i < frames; ++i) {
        k.summe += p[2 * i];
        ++k.rest;
    }
}

void ZusatztonDecoder::ablegen(Integer kanal, Kanalzustand& k, float wert) {
    k.block[static_cast<std::size_t>(k.position)] = wert;
    if (++k.position < kBlock) return;
    k.position = 0;
    schritt(kanal, k, bank_.klasse(k.block.data()));
}

void ZusatztonDecoder::schritt(Integer kanal, Kanalzustand& k, int klasse) {
    if (k.klasse != 0) {
        if (klasse == k.klasse) {
            k.laenge += 1 + k.fremd;
            k.fremd = 0;
            wachsen(kanal, k);
            return;
        }
        if (++k.fremd <= kHalten) return;
        // The signal has ended, with its last block kHalten + 1 blocks ago.
        k.vorige = k.klasse;
        k.vorigeLaenge = k.laenge;
        k.pause = k.fremd;
        k.klasse = 0;
        k.fremd = 0;
        if (klasse == 0) return;
    } else if (klasse == 0) {
        if (++k.pause > kPauseMax) k.vorige = 0;
        return;
    }
    // A signal begins. The same class again after a short pause (the next
    // burst of a wake-up tone, a deep fade) carries the report along.
    const bool gleicheFolge = klasse == k.vorige && k.pause <= kPauseMax;
    k.gemeldet = gleicheFolge && k.gemeldet;
    k.klasse = klasse;
    k.laenge = 1;
    k.fremd = 0;
    wachsen(kanal, k);
}

void ZusatztonDecoder::wachsen(Integer kanal, Kanalzustand& k) {
    if (k.gemeldet) return;
    bool sicher = false;
    if (k.klasse == kWeckton) {
        sicher = k.laenge >= kStossMin && k.vorige == kWeckton && k.vorigeLaenge >= kStossMin &&
                 k.vorigeLaenge <= kStossMax && k.pause >= kPauseMin && k.pause <= kPauseMax;
    } else {
        sicher = k.laenge >= kZweiton;
    }
    if (!sicher) return;
    k.gemeldet = true;
    meldung_.Kanal = kanal;
    meldung_.Zusatzton = k.klasse;
    if (melden_) melden_(meldung_);
}

}  // namespace tonwerk
