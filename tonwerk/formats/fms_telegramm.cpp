#include "tonwerk/formats/fms_telegramm.h"

#include <vector>

#include "tonwerk/formats/bits.h"
#include "tonwerk/formats/zeichensatz.h"

namespace tonwerk {

namespace {

constexpr int kGenerator = 0xC5;
constexpr std::uint8_t kFuellzeichen = 4;
constexpr std::string_view kTextblockWeiter = "01010111";  // reads as status 10, Richtung 1, tki 3
constexpr std::string_view kTextblockLetzter = "11010111";  // status 11: last block

struct CrcRegister {
    int r = 0;
    void schiebe(int bit) {
        if (r >= 128) r ^= kGenerator;
        r = 2 * r + bit;
    }
    int rest() const { return r >= 128 ? r ^ kGenerator : r; }
};

int hexWert(char32_t z) {
    if (z >= '0' && z <= '9') return static_cast<int>(z - '0');
    if (z >= 'A' && z <= 'F') return static_cast<int>(z - 'A' + 10);
    if (z >= 'a' && z <= 'f') return static_cast<int>(z - 'a' + 10);
    return 0;
}

std::string zifferBits(std::string_view ziffern) {
    const std::u32string z = Utf8Dekodieren(ziffern);
    std::string bits;
    for (std::size_t i = 0; i < 8; ++i) {
        bits += ZahlAlsBitsLsb(static_cast<Integer>(i < z.size() ? hexWert(z[i]) : 0), 4);
    }
    return bits;
}

void zeichenAnhaengen(std::string& bits, std::uint8_t code) {
    const std::string sieben = ZahlAlsBitsLsb(code, 7);
    bits += sieben;
    bits.push_back(ParitaetsBit(sieben, false));
}

}  // namespace

std::string FmsDatenBits(std::string_view kennung, Integer status, Integer baustufe, Integer richtung, Integer tki) {
    std::string bits = zifferBits(kennung);
    bits += ZahlAlsBitsLsb(status, 4);
    bits.push_back(baustufe != 0 ? '1' : '0');
    bits.push_back(richtung != 0 ? '1' : '0');
    switch (tki) {
        case 0: bits += "00"; break;
        case 1: bits += "10"; break;
        case 2: bits += "01"; break;
        default: bits += "11"; break;
    }
    return bits;
}

int FmsCrc(std::string_view datenBits) {
    CrcRegister crc;
    for (char b : datenBits) crc.schiebe(b == '1' ? 1 : 0);
    for (int i = 0; i < 7; ++i) crc.schiebe(0);
    return crc.rest();
}

int FmsCrcRest(std::span<const Integer> bits, int start) {
    CrcRegister crc;
    for (int i = start; i < start + 47; ++i) crc.schiebe(BitsAlsZahl(bits, i, 1));
    return crc.rest();
}

std::string FmsBlock(std::string_view datenBits) {
    std::string block(datenBits);
    block += ZahlAlsBitsMsb(static_cast<Integer>(FmsCrc(datenBits)), 7);
    block.push_back('0');
    return block;
}

bool FmsKurztextErlaubt(Integer status, Integer richtung, Integer tki, Integer baustufe, std::string_view text,
                        Boolean trbos) {
    if (status != 10 || richtung != 1 || text.empty()) return false;
    return trbos == Falsch || (tki == 3 && baustufe == 0);
}

std::string KurztextBloecke(std::string_view text) {
    std::vector<std::uint8_t> codes = TextZuCodes(text, kFmsKurztextMax);
    if (codes.size() < 7) codes.resize(7, kFuellzeichen);
    if (const std::size_t r = (codes.size() - 3) % 4; r > 0) codes.resize(codes.size() + 4 - r, kFuellzeichen);
    const auto n = static_cast<Integer>((codes.size() - 3) / 4);

    std::string erster(1, '0');
    erster += ZahlAlsBitsLsb(n, 7);
    for (std::size_t i = 0; i < 3; ++i) zeichenAnhaengen(erster, codes[i]);
    erster += kTextblockWeiter;
    std::string bloecke = FmsBlock(erster);
    for (int k = 1; k <= n; ++k) {
        std::string daten;
        for (std::size_t i = 0; i < 4; ++i) zeichenAnhaengen(daten, codes[4 * static_cast<std::size_t>(k) - 1 + i]);
        daten += k < n ? kTextblockWeiter : kTextblockLetzter;
        bloecke += FmsBlock(daten);
    }
    return bloecke;
}

std::string FolgeBlock(std::string_view ziffern) { return FmsBlock(zifferBits(ziffern) + "00000000"); }

std::string FmsTelegrammBits(std::string_view kennung, Integer status, Integer baustufe, Integer richtung,
                             Integer tki, std::string_view text, Boolean trbos) {
    std::string bits(kFmsVorlauf);
    bits += kFmsSynchronwort;
    bits += FmsBlock(FmsDatenBits(kennung, status, baustufe, richtung, tki));
    if (FmsKurztextErlaubt(status, richtung, tki, baustufe, text, trbos)) bits += KurztextBloecke(text);
    return bits;
}

}  // namespace tonwerk
