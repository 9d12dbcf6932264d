// POCSAG receiver.
//
// Signal: two-level (NRZ) baseband at 512 or 1200 bit/s (PocBaud); the polarity is
// not known beforehand. A transmission is a preamble of alternating bits 1010...10
// followed by batches: the synchronisation codeword (PocSyncWord) and 16 codewords,
// eight frames of two. Codewords are 32 bits, first bit the flag: "0" address
// (18 address bits, 2 function bits), "1" message (20 message bits); then 10 BCH
// check bits and a parity bit.
//
// Reading:
// - Preamble: runs strictly between PocLaufMin and PocLaufMax are single bits. More
//   than PocPraambels of them, then a run of at least PocLaufMax, is the last
//   preamble bit joined with the first (zero) bit of the synchronisation codeword:
//   half of that run is one zero bit, and its level is the zero level from now on.
// - Slicing: each run is divided by the true bit length, sample rate / bit rate, and
//   rounded to whole bits. The tabled PocBitLaenge is whole samples and miscounts
//   long runs at 22050 and 44100 Hz, where a bit is 18.375, 36.75 or 43.07 samples.
// - Batch position 0 must be the synchronisation codeword (exactly, or within
//   two bits with error control), or reception ends. With error control a bit
//   lost or gained inside it (within two other wrong bits) is taken up instead:
//   the next codeword starts one bit earlier or later, so a message running
//   across the batch bound is not reported cut off there. At 1-16 an address
//   codeword gives RIC = 8 * address + frame and Funktion = function bits + 1
//   (the idle codeword gives RIC 0); a message codeword adds its 20 bits to the
//   message.
// - Error control (PocFehlerkorrektur, on by default): every codeword is checked
//   and up to two wrong bits are corrected before it is read. A codeword beyond
//   correction whose flag says address ends the pending message and starts none
//   (a wrong RIC is worse than a missed one); one whose flag says message is
//   kept as received. The report counts the corrected codewords and those left
//   wrong. Off, codewords are read unchecked, exactly as the classic control did.
// - A bit gained or lost in slicing (noise at a low SNR) shifts every later
//   codeword of the batch, and the code is cyclic: a codeword turned by a bit is
//   within two bits of another codeword, so correction alone would read the
//   shifted words as addresses never sent. With error control a message is
//   therefore held back until the alignment is confirmed: by an idle codeword
//   or the next synchronisation codeword (within two bits), or by the end of
//   reception where a synchronisation codeword is due. A synchronisation or
//   idle codeword that corrects to itself turned by one or two bits, or that
//   reads one to three bits early or late, shows the slip: what is held back is
//   dropped and reception ends. So does noise that ends reception inside a
//   batch (a transmitter always completes its batches).
// - A message (RIC above 0) is reported at the next address or idle codeword, or
//   when reception ends; its text is read as 7-bit characters.
// - Reception ends at a wrong synchronisation codeword, at a run longer than two
//   codewords (carrier gone; also a whole capture buffer without a run end), at
//   more than kMaxKurzeLaeufe runs shorter than half a bit within one codeword
//   (noise) and at a preamble codeword (a new transmission). The
//   rest of the run that ended it is not read as bits: silence and noise after a
//   transmission never turn into address codewords. One exception, with error
//   control: a transmitter that stops after the batch in which its message
//   ended leaves the last codeword's final bits and the silence after them as
//   one long run (exact silence, a squelch's steady level, or the level the
//   filter's normalisation holds for a while). Where the batch's last codeword
//   is in progress, that run completes it when it then checks as a message
//   codeword (up to two corrected bits, no sign of a slip).
#include "tonwerk/decoders/poc_decoder.h"

#include <algorithm>
#include <bit>

#include "tonwerk/formats/abtastrate.h"
#include "tonwerk/formats/poc_einstellwort.h"
#include "tonwerk/formats/poc_korrektur.h"
#include "tonwerk/formats/poc_text.h"

namespace tonwerk {

namespace {

// Alternating bits as a whole codeword: a preamble, never a valid codeword.
constexpr PocCodewort kPraambelWort1 = 0xAAAAAAAA;
constexpr PocCodewort kPraambelWort0 = 0x55555555;

// The codeword whose 31 code bits are those of `wort` turned left by `schritte`
// (right when negative), with its parity bit.
PocCodewort gedreht(PocCodewort wort, int schritte) {
    const std::uint32_t bits = wort >> 1;
    const int n = (schritte % 31 + 31) % 31;
    const std::uint32_t d = ((bits << n) | (bits >> (31 - n))) & 0x7FFFFFFFu;
    return (d << 1) | PocParitaet(d);
}

}  // namespace

PocDecoder::PocDecoder(Melder melden) : melden_(std::move(melden)) {
    for (auto& k : kanaele_) k.nachrichtBits.reserve(kMaxNachrichtenBits);
    meldung_.TextBin.reserve(kMaxNachrichtenBits);
}

long PocDecoder::bitsImLauf(long laenge, const Schnitt& schnitt) {
    // round(laenge * baud / rate), halves up, in integers.
    const long long zaehler = 2LL * laenge * schnitt.baud + schnitt.abtastrate;
    return static_cast<long>(zaehler / (2LL * schnitt.abtastrate));
}

std::int32_t PocDecoder::laengsterLauf(Long abtastrate, Long baud) {
    const long long rate = NormaleAbtastrate(abtastrate);
    const long long b = baud == 1200 ? 1200 : 512;
    // The largest L with bitsImLauf(L) <= kMaxLaufBits: 2 L b + rate < (2 kMaxLaufBits + 2) rate.
    return static_cast<std::int32_t>(((2 * kMaxLaufBits + 1) * rate - 1) / (2 * b));
}

void PocDecoder::signalEnde(Integer kanal) {
    if (kanal != 0 && kanal != 1) return;
    Kanalzustand& k = kanaele_[static_cast<std::size_t>(kanal)];
    if (!k.synchron) return;
    // The open run, of the other level than the last, ends the transmission.
    if (schnitt_.korrektur && k.codewortZaehler == 16 && k.bitZaehler > 0)
        letztesWortVollenden(kanal, k, k.letztesBit ^ 1u, schnitt_);
    zuruecksetzen(kanal, k);
}

void PocDecoder::laufPruefung(Integer kanal, Laeufe laeufe, const Einstellungen& einstellungen,
                              const Ratenkonstanten& konstanten) {
    if (kanal != 0 && kanal != 1) return;
    Kanalzustand& k = kanaele_[static_cast<std::size_t>(kanal)];
    Schnitt schnitt{
        NormaleAbtastrate(einstellungen.Abtastrate),
        einstellungen.PocBaud == 1200 ? 1200 : 512,
        PocWortEinstellung(einstellungen.PocSyncWord, kPocSyncWort),
        PocWortEinstellung(einstellungen.PocIdleWord, kPocIdleWort),
        einstellungen.PocFehlerkorrektur != Falsch,
        {},
    };
    k.korrekturAktiv = schnitt.korrektur;
    if (schnitt.korrektur) {
        std::size_t i = 0;
        for (PocCodewort w : {schnitt.sync, schnitt.idle})
            for (int schritte : {-2, -1, 1, 2}) schnitt.verschoben[i++] = gedreht(w, schritte);
    }
    schnitt_ = schnitt;

    // A buffer without a single run end lies inside one run longer than the buffer;
    // the capture shortens such a run, so it is judged here, while it lasts.
    if (laeufe.empty()) {
        if (!k.synchron) return;
        // The smaller of the two sizes never overestimates the buffer.
        k.offenerLauf += std::max<long>(1, std::min<long>(einstellungen.RecordPufferSize, konstanten.RecordPufferSize));
        if (bitsImLauf(k.offenerLauf, schnitt) > kMaxLaufBits) {
            // Runs alternate: the open one has the other level than the last.
            if (schnitt.korrektur && k.codewortZaehler == 16 && k.bitZaehler > 0)
                letztesWortVollenden(kanal, k, k.letztesBit ^ 1u, schnitt);
            zuruecksetzen(kanal, k);
        }
        return;
    }
    k.offenerLauf = 0;

    for (const Halbwelle& lauf : laeufe) {
        const long laenge = lauf.Laenge;
        if (!k.synchron) {
            if (laenge > konstanten.PocLaufMin && laenge < konstanten.PocLaufMax) {
                ++k.praambelZaehler;
                continue;
            }
            if (k.praambelZaehler > einstellungen.PocPraambels && laenge >= konstanten.PocLaufMax) {
                k.synchron = true;
                k.bitZaehler = 0;
                k.codewortZaehler = 0;
                k.wort = 0;
                k.nachrichtBits.clear();
                k.korrigiert = k.fehlerhaft = 0;
                k.ric = 0;
                k.kurzeLaeufe = 0;
                k.startPegel = lauf.Pegel;
                // Half the run, rounded half to even.
                long haelfte = laenge / 2;
                if ((laenge & 1) && (haelfte & 1)) ++haelfte;
                schneiden(kanal, k, 0, bitsImLauf(haelfte, schnitt), schnitt);
            }
            k.praambelZaehler = 0;
            continue;
        }
        const long n = bitsImLauf(laenge, schnitt);
        // A clean signal has no run shorter than half a bit; noise has many.
        if (n == 0 && ++k.kurzeLaeufe > kMaxKurzeLaeufe) {
            // Noise inside a batch: with error control, what it held is not trusted.
            zuruecksetzen(kanal, k, !schnitt.korrektur || k.codewortZaehler == 0);
            continue;
        }
        k.letztesBit = lauf.Pegel == k.startPegel ? 0u : 1u;
        schneiden(kanal, k, k.letztesBit, n, schnitt);
    }
}

void PocDecoder::schneiden(Integer kanal, Kanalzustand& k, std::uint32_t bit, long n, const Schnitt& schnitt) {
    if (n > kMaxLaufBits) {
        if (schnitt.korrektur && k.codewortZaehler == 16 && k.bitZaehler > 0) letztesWortVollenden(kanal, k, bit, schnitt);
        zuruecksetzen(kanal, k);
        return;
    }
    for (long i = 0; i < n; ++i) {
        k.wort = (k.wort << 1) | bit;
        if (++k.bitZaehler < 32) continue;
        wortPruefung(kanal, k, schnitt);
        if (!k.synchron) return;
        // A bit lost keeps the word's last bit as the next word's first; a bit
        // gained starts the next word one bit later.
        k.bitZaehler = k.schlupf;
        k.wort = k.schlupf > 0 ? k.wort & 1u : 0;
        k.schlupf = 0;
        k.kurzeLaeufe = 0;
        if (++k.codewortZaehler == 17) k.codewortZaehler = 0;
    }
}

void PocDecoder::letztesWortVollenden(Integer kanal, Kanalzustand& k, std::uint32_t bit, const Schnitt& schnitt) {
    PocCodewort wort = k.wort;
    for (int i = k.bitZaehler; i < 32; ++i) wort = (wort << 1) | bit;
    const PocPruefung p = PocKorrigieren(wort);
    if (p.fehler == kPocNichtKorrigierbar || (p.wort >> 31) == 0 || verrutscht(wort, p, schnitt)) return;
    k.wort = wort;
    wortPruefung(kanal, k, schnitt);
}

int PocDecoder::schlupfImSync(PocCodewort wort, PocCodewort sync) {
    for (int p = 1; p < 32; ++p) {
        // Bit p (0 = first on air) lost: the sync codeword's other 31 bits, then
        // the first bit of the next codeword.
        const std::uint32_t vorn = sync >> (32 - p);
        const std::uint32_t ohne = (vorn << (31 - p)) | (sync & ((1u << (31 - p)) - 1u));
        if (std::popcount((wort >> 1) ^ ohne) <= 2) return 1;
        // A bit gained before bit p: the sync codeword's first 31 bits with one
        // more bit, of either value, at p.
        const std::uint32_t mit = (vorn << (32 - p)) | ((sync >> 1) & ((1u << (31 - p)) - 1u));
        if (std::popcount((wort ^ mit) & ~(1u << (31 - p))) <= 2) return -1;
    }
    return 0;
}

bool PocDecoder::istSync(PocCodewort wort, const Schnitt& schnitt) {
    return wort == schnitt.sync || (schnitt.korrektur && PocKorrigieren(wort).wort == schnitt.sync);
}

bool PocDecoder::verrutscht(PocCodewort empfangen, const PocPruefung& p, const Schnitt& schnitt) {
    if (!schnitt.korrektur) return false;
    if (p.fehler != kPocNichtKorrigierbar &&
        std::find(schnitt.verschoben.begin(), schnitt.verschoben.end(), p.wort) != schnitt.verschoben.end())
        return true;
    if (p.fehler == 0) return false;
    // The synchronisation or idle codeword one to three bits early or late, with
    // up to three wrong bits among the bits the two have in common.
    for (PocCodewort muster : {schnitt.sync, schnitt.idle})
        for (int s = 1; s <= 3; ++s) {
            const std::uint32_t maske = 0xFFFFFFFFu >> s;
            if (std::popcount((empfangen >> s) ^ (muster & maske)) <= 3) return true;
            if (std::popcount((empfangen & maske) ^ (muster >> s)) <= 3) return true;
        }
    return false;
}

void PocDecoder::wortPruefung(Integer kanal, Kanalzustand& k, const Schnitt& schnitt) {
    if (k.codewortZaehler == 0) {
        if (istSync(k.wort, schnitt)) {
            bestaetigen(kanal, k);
            return;
        }
        if (verrutscht(k.wort, PocKorrigieren(k.wort), schnitt)) {
            zuruecksetzen(kanal, k, false);
            return;
        }
        // A bit lost or gained inside the synchronisation codeword: the batch
        // before was aligned, and a message running across the batch bound goes
        // on after it, one bit earlier or later. Ending reception here would
        // report such a message cut off at the bound, as if it were whole.
        k.schlupf = schnitt.korrektur ? schlupfImSync(k.wort, schnitt.sync) : 0;
        if (k.schlupf != 0) {
            bestaetigen(kanal, k);
            return;
        }
        zuruecksetzen(kanal, k);
        return;
    }
    if (k.wort == kPraambelWort1 || k.wort == kPraambelWort0) {
        zuruecksetzen(kanal, k);
        return;
    }
    int fehler = 0;
    if (schnitt.korrektur) {
        const PocPruefung p = PocKorrigieren(k.wort);
        if (p.wort != schnitt.idle && verrutscht(k.wort, p, schnitt)) {
            zuruecksetzen(kanal, k, false);
            return;
        }
        k.wort = p.wort;
        fehler = p.fehler;
    }
    if ((k.wort >> 31) == 0) {
        if (k.ric > 0) {
            if (schnitt.korrektur) {
                zurueckstellen(kanal, k);
            } else {
                nachrichtAusgeben(kanal, k);
            }
        }
        k.nachrichtBits.clear();
        k.korrigiert = fehler > 0 ? 1 : 0;
        k.fehlerhaft = 0;
        if (fehler == kPocNichtKorrigierbar) {
            k.ric = 0;
            return;
        }
        adresseLesen(k, schnitt);
        if (schnitt.korrektur && k.wort == schnitt.idle) bestaetigen(kanal, k);
        return;
    }
    // Beyond the cap the message is cut; it is still reported at its end.
    if (k.nachrichtBits.size() + 20 > kMaxNachrichtenBits) return;
    if (fehler > 0) ++k.korrigiert;
    if (fehler == kPocNichtKorrigierbar) ++k.fehlerhaft;
    for (int b = 30; b >= 11; --b) k.nachrichtBits.push_back(((k.wort >> b) & 1u) ? '1' : '0');
}

void PocDecoder::adresseLesen(Kanalzustand& k, const Schnitt& schnitt) {
    if (k.wort == schnitt.idle) {
        k.ric = 0;
        return;
    }
    const auto adresse = static_cast<Long>((k.wort >> 13) & 0x3FFFFu);
    k.ric = 8 * adresse + (k.codewortZaehler - 1) / 2;
    k.funktion = static_cast<Long>((k.wort >> 11) & 3u) + 1;
}

void PocDecoder::nachrichtAusgeben(Integer kanal, const Kanalzustand& k) {
    melden(kanal, k.ric, k.funktion, k.nachrichtBits, k.korrigiert, k.fehlerhaft);
}

void PocDecoder::melden(Integer kanal, Long ric, Long funktion, const std::string& bits, Long korrigiert,
                        Long fehlerhaft) {
    meldung_.Kanal = kanal;
    meldung_.RIC = ric;
    meldung_.Funktion = funktion;
    PocAlphaText(bits, meldung_.Text);
    meldung_.TextBin.assign(bits);
    meldung_.KorrigierteWorte = korrigiert;
    meldung_.FehlerhafteWorte = fehlerhaft;
    if (melden_) melden_(meldung_);
}

void PocDecoder::zurueckstellen(Integer kanal, Kanalzustand& k) {
    if (k.anzahlZurueck == kMaxZurueckgestellt) bestaetigen(kanal, k);
    Kanalzustand::Zurueckgestellt& z = k.zurueck[k.anzahlZurueck++];
    z.ric = k.ric;
    z.funktion = k.funktion;
    z.korrigiert = k.korrigiert;
    z.fehlerhaft = k.fehlerhaft;
    z.bits.assign(k.nachrichtBits);
}

void PocDecoder::bestaetigen(Integer kanal, Kanalzustand& k) {
    for (std::size_t i = 0; i < k.anzahlZurueck; ++i) {
        const Kanalzustand::Zurueckgestellt& z = k.zurueck[i];
        melden(kanal, z.ric, z.funktion, z.bits, z.korrigiert, z.fehlerhaft);
    }
    k.anzahlZurueck = 0;
}

void PocDecoder::zuruecksetzen(Integer kanal, Kanalzustand& k, bool meldenOk) {
    if (meldenOk) {
        bestaetigen(kanal, k);
        if (k.ric > 0) nachrichtAusgeben(kanal, k);
    }
    k.anzahlZurueck = 0;
    k.synchron = false;
    k.bitZaehler = 0;
    k.codewortZaehler = 0;
    k.wort = 0;
    k.nachrichtBits.clear();
    k.korrigiert = k.fehlerhaft = 0;
    k.ric = 0;
    k.praambelZaehler = 0;
    k.offenerLauf = 0;
    k.kurzeLaeufe = 0;
}

}  // namespace tonwerk
