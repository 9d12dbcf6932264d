#include "tonwerk/decoders/fms_decoder.h"

#include <algorithm>

#include "tonwerk/decoders/fms_auswertung.h"
#include "tonwerk/formats/fms_telegramm.h"

namespace tonwerk {

namespace {

constexpr int kMinLaeufe = 40;     // a collection must exceed this to be sliced
constexpr int kVorlaufDeckel = 32767;  // the counter saturates on an endless 1200 Hz tone

}  // namespace

void FmsDecoder::laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& e, const Ratenkonstanten& k) {
    if (kanal != 0 && kanal != 1) return;
    Kanal& z = kanaele_[static_cast<std::size_t>(kanal)];
    const int langMin = k.FmsLangMin, langMax = k.FmsLangMax;
    const int kurzMin = k.FmsKurzMin, kurzMax = k.FmsKurzMax;
    const Halbwelle* lauf = laeufe.data();
    const Halbwelle* const ende = lauf + laeufe.size();
    while (lauf != ende) {
        if (!z.sammeln) {
            // Searching is nearly all the work on noise; the counter stays in a register.
            int zaehler = z.vorlaufZaehler;
            for (; lauf != ende; ++lauf) {
                const int l = lauf->Laenge;
                if (l >= langMin && l <= langMax) {
                    zaehler = std::min(zaehler + 1, kVorlaufDeckel);
                } else if (l >= kurzMin && l <= kurzMax && zaehler > e.FMSVorlaufMin2 && zaehler < e.FMSVorlaufMax2) {
                    z.sammeln = true;
                    z.laufliste[0] = lauf->Laenge;
                    z.laufAnzahl = 1;
                    ++lauf;
                    break;
                } else {
                    zaehler = 0;
                }
            }
            z.vorlaufZaehler = zaehler;
            continue;
        }
        const int l = lauf->Laenge;
        if (l >= kurzMin && l <= langMax) {
            z.laufliste[static_cast<std::size_t>(z.laufAnzahl++)] = lauf->Laenge;
            if (z.laufAnzahl >= kMaxLaeufe) {
                z.sammeln = false;
                z.vorlaufZaehler = 0;
                bitDekodierung(kanal, e, k);
            }
        } else {
            sammlungBeenden(kanal, e, k);
        }
        ++lauf;
    }
}

void FmsDecoder::signalEnde(Integer kanal, const Einstellungen& e, const Ratenkonstanten& k) {
    if (kanal != 0 && kanal != 1) return;
    Kanal& z = kanaele_[static_cast<std::size_t>(kanal)];
    if (z.sammeln) {
        sammlungBeenden(kanal, e, k);
    } else {
        z.vorlaufZaehler = 0;
    }
}

void FmsDecoder::sammlungBeenden(Integer kanal, const Einstellungen& e, const Ratenkonstanten& k) {
    Kanal& z = kanaele_[static_cast<std::size_t>(kanal)];
    z.sammeln = false;
    z.vorlaufZaehler = 0;
    if (z.laufAnzahl > kMinLaeufe) bitDekodierung(kanal, e, k);
}

void FmsDecoder::durchgang(const Kanal& kanal, int i0, int p0, int schwelle) {
    std::fill_n(bits_.begin(), bitZahl_, Integer{0});
    int p = p0;
    int summe = 0;
    int k = 0;
    for (int i = i0; i < kanal.laufAnzahl && p < static_cast<int>(bits_.size()); ++i) {
        summe += kanal.laufliste[static_cast<std::size_t>(i)];
        if (summe > schwelle) {
            bits_[static_cast<std::size_t>(p++)] = k == 1 ? 1 : 0;
            summe = 0;
            k = 0;
        } else {
            ++k;
        }
    }
    bitZahl_ = p;
}

bool FmsDecoder::plausibel() const {
    return std::any_of(bits_.begin() + 8, bits_.begin() + 55, [](Integer b) { return b == 1; });
}

void FmsDecoder::bitDekodierung(Integer kanal, const Einstellungen& e, const Ratenkonstanten& k) {
    const Kanal& z = kanaele_[static_cast<std::size_t>(kanal)];
    for (int versuch = 0; versuch < 2; ++versuch) {
        // The second pass reads the first two runs as the end of a zero bit.
        if (versuch == 0) {
            durchgang(z, 0, 0, k.FmsBitSchwelle);
        } else {
            durchgang(z, 2, 1, k.FmsBitSchwelle);
        }
        if (!plausibel()) return;
        if (e.FMScrcCheck == Falsch || FmsCrcRest(bits_, 8) == 0) {
            FmsAuswertung(bits_, bitZahl_, kanal, e, tlg_);
            if (melden_) melden_(tlg_);
            return;
        }
    }
}

}  // namespace tonwerk
