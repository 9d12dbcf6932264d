#include "tonwerk/empfang/empfangsfilter.h"

#include <algorithm>
#include <cmath>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk {

namespace {

// Level normalisation, at the working rate of 11025 Hz.
constexpr float kGleichanteil = 1.0f / 2048;  // about 0.19 s: far below every signal
// The magnitude rises within about 1.5 ms and falls over about 0.1 s: a signal
// after silence must not come in a hundred times too loud, or the POCSAG edge
// detector learns edges it never sees again.
constexpr float kBetragAuf = 1.0f / 16;
constexpr float kBetragAb = 1.0f / 1024;
constexpr float kZiel = 60.0f;                // the peak of a full-scale 8-bit transmitter at level 60
// Half a step of the 8-bit input: a signal that only moves the sign still
// reaches kZiel; exact silence stays at (almost) zero.
constexpr float kBetragMin = 0.25f;

}  // namespace

Empfangsfilter::Empfangsfilter() : speicher_(static_cast<std::size_t>(6) * kPlatz) {
    for (auto& a : arbeit_) a.resize(kPlatz);
}

void Empfangsfilter::einrichten(Long abtastrate, Long baud) {
    rate_ = abtastrate;
    baud_ = baud;
    faktor_ = NormaleAbtastrate(abtastrate) / 11025;
    rest_.fill(0);
    restSumme_.fill(0);
    gleichanteil_.fill(0);
    betrag_.fill(0);
    for (int kanal = 0; kanal < 2; ++kanal) {
        fms_[static_cast<std::size_t>(kanal)].einrichten(abtastrate);
        poc_[static_cast<std::size_t>(kanal)].einrichten(abtastrate, baud);
        ton_[static_cast<std::size_t>(kanal)].einrichten(abtastrate);
    }
}

int Empfangsfilter::reduzieren(const std::uint8_t* puffer, int frames, int kanal) {
    const auto k = static_cast<std::size_t>(kanal);
    float* aus = arbeit_[k].data();
    const std::uint8_t* p = puffer + kanal;
    const float skala = 1.0f / static_cast<float>(faktor_);
    const float mitte = 128.0f * static_cast<float>(faktor_);
    int n = 0;
    int i = 0;
    // An average left incomplete at the end of the last buffer is finished first.
    float summe = restSumme_[k];
    int rest = rest_[k];
    for (; i < frames && rest != 0; ++i) {
        summe += p[2 * i];
        if (++rest == faktor_) {
            aus[n++] = (summe - mitte) * skala;
            rest = 0;
            summe = 0;
        }
    }
    if (faktor_ == 1) {
        for (; i < frames; ++i) aus[n++] = static_cast<float>(p[2 * i]) - 128.0f;
    } else {
        // With the factor fixed at compile time the sums unroll.
        const auto mitteln = [&]<int F>() {
            for (; i + F <= frames; i += F) {
                int s = 0;
                for (int j = 0; j < F; ++j) s += p[2 * (i + j)];
                aus[n++] = (static_cast<float>(s) - mitte) * skala;
            }
        };
        if (faktor_ == 4) {
            mitteln.operator()<4>();
        } else {
            mitteln.operator()<2>();
        }
        for (; i < frames; ++i) {
            summe += p[2 * i];
            ++rest;
        }
    }
    restSumme_[k] = summe;
    rest_[k] = rest;
    return n;
}

namespace {

// One sample of the level normalisation: DC removed, scaled by the running level.
inline float normierterWert(float wert, float& gleich, float& betrag) {
    const float d = wert - gleich;
    gleich += d * kGleichanteil;
    const float b = std::fabs(d);
    betrag += (b - betrag) * (b > betrag ? kBetragAuf : kBetragAb);
    return d * (kZiel / std::max(betrag, kBetragMin));
}

}  // namespace

void Empfangsfilter::normieren(int n, int kanal) {
    const auto k = static_cast<std::size_t>(kanal);
    float* x = arbeit_[k].data();
    float gleich = gleichanteil_[k], betrag = betrag_[k];
    for (int i = 0; i < n; ++i) x[i] = normierterWert(x[i], gleich, betrag);
    gleichanteil_[k] = gleich;
    betrag_[k] = betrag;
}

void Empfangsfilter::normierenBeide(int n) {
    float* x0 = arbeit_[0].data();
    float* x1 = arbeit_[1].data();
    float gleich0 = gleichanteil_[0], betrag0 = betrag_[0];
    float gleich1 = gleichanteil_[1], betrag1 = betrag_[1];
    for (int i = 0; i < n; ++i) {
        x0[i] = normierterWert(x0[i], gleich0, betrag0);
        x1[i] = normierterWert(x1[i], gleich1, betrag1);
    }
    gleichanteil_[0] = gleich0;
    betrag_[0] = betrag0;
    gleichanteil_[1] = gleich1;
    betrag_[1] = betrag1;
}

namespace {

// `anzahl` averages of F stereo frames each, normalised. The averages cost
// little next to the two chains of the level, which leave the processor idle
// between their steps.
template <int F>
void mittelnUndNormieren(const std::uint8_t* p, int anzahl, float* x0, float* x1, float& gleich0Ref,
                         float& betrag0Ref, float& gleich1Ref, float& betrag1Ref) {
    // Both channels in the lanes of one vector: each step is one instruction
    // for both, and the choice of rate is a mask, not a branch that noise
    // would mispredict half the time. Lane by lane the same as normierterWert.
    using V4 = float __attribute__((vector_size(16)));
    using V4i = std::int32_t __attribute__((vector_size(16)));
    constexpr float skala = 1.0f / F;
    constexpr float mitte = 128.0f * F;
    V4 gleich{gleich0Ref, gleich1Ref, 0, 0}, betrag{betrag0Ref, betrag1Ref, 0, 0};
    const V4 auf = V4{} + kBetragAuf, ab = V4{} + kBetragAb, minimum = V4{} + kBetragMin;
    for (int i = 0; i < anzahl; ++i, p += 2 * F) {
        int s0 = 0, s1 = 0;
        for (int j = 0; j < F; ++j) {
            s0 += p[2 * j];
            s1 += p[2 * j + 1];
        }
        const V4 wert = F == 1 ? V4{static_cast<float>(s0), static_cast<float>(s1), 0, 0} - 128.0f
                               : (V4{static_cast<float>(s0), static_cast<float>(s1), 0, 0} - mitte) * skala;
        const V4 d = wert - gleich;
        gleich += d * kGleichanteil;
        const V4 b = reinterpret_cast<V4>(reinterpret_cast<V4i>(d) & 0x7fffffff);
        betrag += (b - betrag) * (b > betrag ? auf : ab);
        const V4 aus = d * (kZiel / (betrag > minimum ? betrag : minimum));
        x0[i] = aus[0];
        x1[i] = aus[1];
    }
    gleich0Ref = gleich[0];
    betrag0Ref = betrag[0];
    gleich1Ref = gleich[1];
    betrag1Ref = betrag[1];
}

}  // namespace

int Empfangsfilter::reduzierenUndNormieren(const std::uint8_t* puffer, int frames) {
    const float skala = 1.0f / static_cast<float>(faktor_);
    const float mitte = 128.0f * static_cast<float>(faktor_);
    float* x0 = arbeit_[0].data();
    float* x1 = arbeit_[1].data();
    float gleich0 = gleichanteil_[0], betrag0 = betrag_[0];
    float gleich1 = gleichanteil_[1], betrag1 = betrag_[1];
    int n = 0;
    int anfang = 0;  // frames used for an average left incomplete by the last buffer
    if (rest_[0] != 0) {
        anfang = std::min(frames, faktor_ - rest_[0]);
        for (int i = 0; i < anfang; ++i) {
            restSumme_[0] += puffer[2 * i];
            restSumme_[1] += puffer[2 * i + 1];
        }
        rest_[0] += anfang;
        rest_[1] += anfang;
        if (rest_[0] == faktor_) {
            x0[n] = normierterWert((restSumme_[0] - mitte) * skala, gleich0, betrag0);
            x1[n] = normierterWert((restSumme_[1] - mitte) * skala, gleich1, betrag1);
            ++n;
            rest_.fill(0);
            restSumme_.fill(0);
        }
    }
    const int ganze = (frames - anfang) / faktor_;
    const std::uint8_t* p = puffer + 2 * anfang;
    if (faktor_ == 4) {
        mittelnUndNormieren<4>(p, ganze, x0 + n, x1 + n, gleich0, betrag0, gleich1, betrag1);
    } else if (faktor_ == 2) {
        mittelnUndNormieren<2>(p, ganze, x0 + n, x1 + n, gleich0, betrag0, gleich1, betrag1);
    } else {
        mittelnUndNormieren<1>(p, ganze, x0 + n, x1 + n, gleich0, betrag0, gleich1, betrag1);
    }
    gleichanteil_[0] = gleich0;
    betrag_[0] = betrag0;
    gleichanteil_[1] = gleich1;
    betrag_[1] = betrag1;
    // Frames of an average left incomplete wait for the next buffer.
    for (int i = anfang + ganze * faktor_; i < frames; ++i) {
        restSumme_[0] += puffer[2 * i];
        restSumme_[1] += puffer[2 * i + 1];
        ++rest_[0];
        ++rest_[1];
    }
    return n + ganze;
}

void Empfangsfilter::normierenGetrennt(const std::array<int, 2>& anzahl, const std::array<bool, 2>& normiert) {
    if (normiert[0] && normiert[1] && anzahl[0] == anzahl[1]) {
        normierenBeide(anzahl[0]);
        return;
    }
    for (int kanal = 0; kanal < 2; ++kanal)
        if (normiert[static_cast<std::size_t>(kanal)]) normieren(anzahl[static_cast<std::size_t>(kanal)], kanal);
}

const Empfangsfilter::Tabellen& Empfangsfilter::aufbereiten(const std::uint8_t* puffer, int frames,
                                                            const Einstellungen& e) {
    if (e.Abtastrate != rate_ || e.PocBaud != baud_) einrichten(e.Abtastrate, e.PocBaud);
    std::array<int, 2> anzahl{};
    std::array<bool, 2> normiert{};
    for (int kanal = 0; kanal < 2; ++kanal) {
        const auto& an = e.Dekodieren[static_cast<std::size_t>(kanal)];
        normiert[static_cast<std::size_t>(kanal)] = an[DekFMS] || an[DekPOC] || an[DekZVEI] || an[DekTonruf];
    }
    if (normiert[0] && normiert[1] && rest_[0] == rest_[1]) {
        // The usual case, in one pass over the buffer.
        anzahl[0] = anzahl[1] = reduzierenUndNormieren(puffer, frames);
    } else {
        for (int kanal = 0; kanal < 2; ++kanal) anzahl[static_cast<std::size_t>(kanal)] = reduzieren(puffer, frames, kanal);
        normierenGetrennt(anzahl, normiert);
    }
    for (int kanal = 0; kanal < 2; ++kanal) {
        const auto k = static_cast<std::size_t>(kanal);
        const auto& an = e.Dekodieren[k];
        for (int pfad = 0; pfad < 3; ++pfad) schreiber_[static_cast<std::size_t>(pfad)][k].beginnen(tabelle(pfad, kanal), kPlatz);
        const int n = anzahl[k];
        const float* x = arbeit_[k].data();
        if (an[DekFMS]) fms_[k].verarbeiten(x, n, schreiber_[PfadFms][k]);
        if (an[DekPOC]) poc_[k].verarbeiten(x, n, schreiber_[PfadPoc][k]);
        if (an[DekZVEI] || an[DekTonruf]) ton_[k].verarbeiten(x, n, schreiber_[PfadTon][k]);
        tabellen_.fms[k] = schreiber_[PfadFms][k].laeufe();
        tabellen_.poc[k] = schreiber_[PfadPoc][k].laeufe();
        tabellen_.ton[k] = schreiber_[PfadTon][k].laeufe();
    }
    return tabellen_;
}

}  // namespace tonwerk
