#include "tonwerk/decoders/fms_auswertung.h"

#include <algorithm>
#include <array>

#include "tonwerk/formats/bits.h"
#include "tonwerk/formats/zeichensatz.h"

namespace tonwerk {

namespace {

constexpr int kErsterBlock = 56;
constexpr int kLetzterTextblock = 11;

int hexWert(char z) { return z <= '9' ? z - '0' : z - 'A' + 10; }

void zeichen(std::span<const Integer> bits, int pos, std::string& text) {
    text += CodeZuZeichen(BitsAlsZahl(bits, pos, 8));
}

}  // namespace

bool FmsKurztextLesen(std::span<const Integer> bits, int bitZahl, std::string& text) {
    text.clear();
    // A block is there when its characters and its status nibble were received.
    if (bitZahl < 92) return false;
    for (int pos : {64, 72, 80}) zeichen(bits, pos, text);
    if (BitsAlsZahl(bits, 88, 4) == kLetzterTextblock) return true;
    for (int j = 2; j <= 25 && 48 * j + 44 <= bitZahl; ++j) {
        for (int k = 8; k <= 32; k += 8) zeichen(bits, 48 * j + k, text);
        if (BitsAlsZahl(bits, 48 * j + 40, 4) == kLetzterTextblock) break;
    }
    return true;
}

bool FmsFolgetextLesen(std::span<const Integer> bits, int bitZahl, std::string& text) {
    text.clear();
    if (bitZahl < kErsterBlock + 32) return false;
    for (int i = 0; i < 8; ++i) text.push_back(BitsAlsHex(bits, kErsterBlock + 4 * i));
    return true;
}

void FmsAuswertung(std::span<const Integer> bits, int bitZahl, Integer kanal, const Einstellungen& e,
                   FmsTlgType& tlg) {
    std::array<char, 12> ziffern{};
    for (int i = 0; i < 8; ++i) ziffern[static_cast<std::size_t>(i)] = BitsAlsHex(bits, 8 + 4 * i);
    ziffern[8] = BitsAlsHex(bits, 40);
    ziffern[9] = BitsAlsZahl(bits, 44, 1) ? '1' : '0';
    ziffern[10] = BitsAlsZahl(bits, 45, 1) ? '1' : '0';
    ziffern[11] = static_cast<char>('0' + BitsAlsZahl(bits, 46, 2));

    tlg.Kanal = kanal;
    tlg.Kennung.assign(ziffern.data(), 8);
    tlg.bos = static_cast<Integer>(hexWert(ziffern[0]));
    tlg.land = static_cast<Integer>(hexWert(ziffern[1]));
    // FMSOrtLaenge is meant to lie in 0..12; a negative value reads as 0.
    const auto ortLaenge = static_cast<std::size_t>(std::clamp<Long>(e.FMSOrtLaenge, 0, 12));
    tlg.ort.assign(ziffern.data(), ortLaenge);
    tlg.fz.assign(ziffern.data() + 4, 4);
    tlg.Status = static_cast<Integer>(hexWert(ziffern[8]));
    tlg.Baustufe = static_cast<Integer>(ziffern[9] - '0');
    tlg.Richtung = static_cast<Integer>(ziffern[10] - '0');
    tlg.tki = static_cast<Integer>(ziffern[11] - '0');
    tlg.iskurztext = 0;
    tlg.isfolgetelegramm = 0;
    tlg.folgenr = 0;
    tlg.Text.clear();

    if (tlg.Status != 10) return;
    if (tlg.Richtung == 1) {
        const bool trbosErfuellt = tlg.Baustufe == 0 && tlg.tki == 3;
        if ((e.FMSKurztextTRBOS == Falsch || trbosErfuellt) && FmsKurztextLesen(bits, bitZahl, tlg.Text)) {
            tlg.iskurztext = Wahr;
        }
        return;
    }
    if (!FmsFolgetextLesen(bits, bitZahl, tlg.Text)) return;
    tlg.isfolgetelegramm = 2;
    if (tlg.Text.compare(3, 5, "00000") != 0) return;
    // Status and a two-digit number: the number is the leading decimal digits of
    // characters 2 and 3.
    tlg.Status = static_cast<Integer>(hexWert(tlg.Text[0]));
    int nummer = 0;
    for (std::size_t i = 1; i < 3 && tlg.Text[i] >= '0' && tlg.Text[i] <= '9'; ++i) nummer = 10 * nummer + (tlg.Text[i] - '0');
    tlg.folgenr = static_cast<Integer>(nummer);
    tlg.Text = {static_cast<char>('0' + nummer / 10), static_cast<char>('0' + nummer % 10)};
    tlg.isfolgetelegramm = 1;
}

}  // namespace tonwerk
