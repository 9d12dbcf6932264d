#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tonwerk/formats/bits.h"
#include "tonwerk/formats/fms_telegramm.h"
#include "tonwerk/formats/zeichensatz.h"

namespace tonwerk {
namespace {

std::vector<Integer> alsArray(std::string_view bits) {
    std::vector<Integer> a;
    for (char c : bits) a.push_back(c == '1' ? 1 : 0);
    return a;
}

std::string ohneLeerzeichen(std::string s) {
    std::erase(s, ' ');
    return s;
}

TEST(FmsBits, NumbersToBitStrings) {
    EXPECT_EQ(ZahlAlsBitsLsb(10, 4), "0101");
    EXPECT_EQ(ZahlAlsBitsLsb(1, 4), "1000");
    EXPECT_EQ(ZahlAlsBitsLsb(3, 7), "1100000");
    EXPECT_EQ(ZahlAlsBitsLsb(17, 4), "1000");
    EXPECT_EQ(ZahlAlsBitsLsb(-1, 4), "1111");
    EXPECT_EQ(ZahlAlsBitsLsb(-1, 7), "1111111");
    EXPECT_EQ(ZahlAlsBitsMsb(3), "0000011");
    EXPECT_EQ(ZahlAlsBitsMsb(74), "1001010");
    EXPECT_EQ(ZahlAlsBitsMsb(200), "1001000");
}

TEST(FmsBits, ParityAndReceivedArrays) {
    EXPECT_EQ(ParitaetsBit("0010000", false), '1');
    EXPECT_EQ(ParitaetsBit("1100000", false), '0');
    EXPECT_EQ(ParitaetsBit("1100000", true), '1');
    const std::vector<Integer> a = {1, 0, 1, 1, 2, -1, 1};
    EXPECT_EQ(BitsAlsHex(a, 0), 'D');
    // Only the value 1 is a one bit.
    EXPECT_EQ(BitsAlsZahl(a, 3, 4), 1 + 8);
    // Positions beyond the array read as zeros instead of past its end.
    EXPECT_EQ(BitsAlsZahl(a, 6, 8), 1);
    EXPECT_EQ(BitsAlsZahl(a, -2, 4), 4);
}

TEST(FmsTelegramm, AllZeroTelegram) {
    EXPECT_EQ(FmsTelegrammBits("00000000", 0, 0, 0, 0, "", Falsch),
              "111111111111" "00011010" + std::string(48, '0'));
}

TEST(FmsTelegramm, FieldsAndCrcOfTheExamples) {
    const std::string daten = FmsDatenBits("12345678", 3, 0, 0, 0);
    EXPECT_EQ(daten, ohneLeerzeichen("1000 0100 1100 0010 1010 0110 1110 0001 1100 0 0 00"));
    EXPECT_EQ(FmsCrc(daten), 74);
    EXPECT_EQ(FmsBlock(daten), daten + "1001010" + "0");
    EXPECT_EQ(FmsCrc(FmsDatenBits("6A1B2345", 10, 0, 1, 3)), 82);
    // The receiver's check over data and CRC gives 0, and not for a flipped bit.
    auto empfangen = alsArray(FmsBlock(daten));
    EXPECT_EQ(FmsCrcRest(empfangen, 0), 0);
    empfangen[17] ^= 1;
    EXPECT_NE(FmsCrcRest(empfangen, 0), 0);
}

TEST(FmsTelegramm, OutOfRangeValuesAreCodedNotRejected) {
    EXPECT_EQ(FmsDatenBits("12", 0, 0, 0, 0), FmsDatenBits("12000000", 0, 0, 0, 0));
    EXPECT_EQ(FmsDatenBits("12G45678", 0, 0, 0, 0), FmsDatenBits("12045678", 0, 0, 0, 0));
    EXPECT_EQ(FmsDatenBits("6a1b2345", 0, 0, 0, 0), FmsDatenBits("6A1B2345", 0, 0, 0, 0));
    EXPECT_EQ(FmsDatenBits("123456789", 0, 0, 0, 0), FmsDatenBits("12345678", 0, 0, 0, 0));
    // A multi-byte character is one Kennung position.
    EXPECT_EQ(FmsDatenBits("1ä345678", 0, 0, 0, 0), FmsDatenBits("10345678", 0, 0, 0, 0));
    const std::string d = FmsDatenBits("", 17, 7, 1, 5);
    EXPECT_EQ(d.substr(32), "1000" "1" "1" "11");
    EXPECT_EQ(FmsDatenBits("", 0, 0, 0, 1).substr(38), "10");
    EXPECT_EQ(FmsDatenBits("", 0, 0, 0, 2).substr(38), "01");
    EXPECT_EQ(FmsDatenBits("", 0, 0, 0, -1).substr(38), "11");
}

TEST(FmsTelegramm, ShortTextGoesOnlyWithControlCentreStatus10) {
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 10, 0, 1, 3, "Test", Falsch).size(), 164u);
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 10, 0, 1, 3, "Test", Wahr).size(), 164u);
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 10, 0, 1, 2, "Test", Falsch).size(), 164u);
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 10, 0, 1, 2, "Test", Wahr).size(), 68u);
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 10, 1, 1, 3, "Test", Wahr).size(), 68u);
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 10, 0, 0, 3, "Test", Falsch).size(), 68u);
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 10, 0, 1, 3, "", Falsch).size(), 68u);
    // Status 26 has the low bits of 10 but is not 10.
    EXPECT_EQ(FmsTelegrammBits("6A1B2345", 26, 0, 1, 3, "Test", Falsch).size(), 68u);
}

TEST(FmsTelegramm, TextBlocksOfTest) {
    const std::string b = KurztextBloecke("Test");
    ASSERT_EQ(b.size(), 96u);
    // First block: "0", block count 1, T e s with even parity, continuation marker.
    const std::string erwartet = "0" "1000000" "0010101" "1" "1010011" "0" "1100111" "1" "01010111";
    EXPECT_EQ(b.substr(0, 40), erwartet);
    // Second block: t and three filling characters (code 4), last-block marker.
    EXPECT_EQ(b.substr(48, 40), "0010111" "0" "0010000" "1" "0010000" "1" "0010000" "1" "11010111");
    for (std::size_t i = 0; i < b.size(); i += 48) {
        EXPECT_EQ(FmsCrcRest(alsArray(b.substr(i, 47)), 0), 0) << i;
        EXPECT_EQ(b[i + 47], '0');
    }
}

TEST(FmsTelegramm, TextPaddingAndLength) {
    EXPECT_EQ(KurztextBloecke("A").size(), 2u * 48);
    EXPECT_EQ(KurztextBloecke("1234567").size(), 2u * 48);
    EXPECT_EQ(KurztextBloecke("12345678").size(), 3u * 48);  // padded to 11, n = 2
    EXPECT_EQ(KurztextBloecke("12345678").substr(1, 7), "0100000");
    const std::string hundert(100, 'x');
    EXPECT_EQ(KurztextBloecke(hundert), KurztextBloecke(hundert.substr(0, 99)));
    EXPECT_EQ(KurztextBloecke(hundert).size(), 25u * 48);
    // 99 characters counted as characters, not bytes.
    std::string umlaute;
    for (int i = 0; i < 100; ++i) umlaute += "ü";
    EXPECT_EQ(KurztextBloecke(umlaute).size(), 25u * 48);
}

TEST(FmsTelegramm, FollowUpBlockCarriesEightDigits) {
    const std::string f = FolgeBlock("3120000A");
    ASSERT_EQ(f.size(), 48u);
    EXPECT_EQ(f.substr(0, 12), "1100" "1000" "0100");
    EXPECT_EQ(f.substr(28, 4), "0101");
    EXPECT_EQ(FmsCrcRest(alsArray(f), 0), 0);
}

TEST(FmsZeichensatz, GermanSubstitutionsBothWays) {
    const std::pair<const char*, int> tabelle[] = {{"§", 0x40}, {"Ä", 0x5B}, {"Ö", 0x5C}, {"Ü", 0x5D},
                                                   {"ä", 0x7B}, {"ö", 0x7C}, {"ü", 0x7D}, {"ß", 0x7E}};
    for (auto [z, code] : tabelle) {
        EXPECT_EQ(TextZuCodes(z), std::vector<std::uint8_t>{static_cast<std::uint8_t>(code)}) << z;
        EXPECT_EQ(CodeZuZeichen(code), z);
        EXPECT_EQ(CodeZuZeichen(code | 0x80), z);  // the parity bit is ignored
    }
}

TEST(FmsZeichensatz, OtherCharactersThroughWindows1252) {
    EXPECT_EQ(TextZuCodes("Az~"), (std::vector<std::uint8_t>{'A', 'z', '~'}));
    EXPECT_EQ(ZeichenZuCode(U'é'), 0xE9 & 0x7F);
    EXPECT_EQ(ZeichenZuCode(U'€'), 0x80 & 0x7F);
    EXPECT_EQ(ZeichenZuCode(U'„'), 0x84 & 0x7F);
    EXPECT_EQ(ZeichenZuCode(U'中'), '?');
    // Malformed UTF-8: a lone continuation byte, a truncated sequence, an overlong form.
    EXPECT_EQ(TextZuCodes("a\x80" "b"), (std::vector<std::uint8_t>{'a', '?', 'b'}));
    EXPECT_EQ(TextZuCodes("\xC3"), (std::vector<std::uint8_t>{'?'}));
    EXPECT_EQ(TextZuCodes("\xC0\xAF"), (std::vector<std::uint8_t>{'?', '?'}));
    EXPECT_EQ(TextZuCodes("Tüte", 2), (std::vector<std::uint8_t>{'T', 0x7D}));
}

TEST(FmsZeichensatz, ControlCodesReadAsSpaces) {
    EXPECT_EQ(CodeZuZeichen(4), " ");
    EXPECT_EQ(CodeZuZeichen(0), " ");
    EXPECT_EQ(CodeZuZeichen(31), " ");
    EXPECT_EQ(CodeZuZeichen(127), " ");
    EXPECT_EQ(CodeZuZeichen('A'), "A");
    EXPECT_EQ(CodeZuZeichen(' '), " ");
    EXPECT_EQ(CodeZuZeichen('^'), "^");
}

}  // namespace
}  // namespace tonwerk
