#include "rufpilot/capi/capi_rufnummern.h"

#include <gtest/gtest.h>

#include "rufpilot/capi/ausloesegrund.h"

namespace rufpilot {
namespace {

// Called party number `<81>222`, then the Calling party number struct given.
std::string Bereich(std::string_view anrufer) {
    std::string b = "\x04\x81" "222";
    b.push_back(static_cast<char>(anrufer.size()));
    b += anrufer;
    return b;
}

TEST(CapiRufnummern, NationalNumberGetsItsZeroAndTheMsnIsTheCalledDigits) {
    const auto b = Bereich(std::string_view("\x01\x80" "7111234567", 12));
    EXPECT_EQ(MsnAusNummernbereich(b), "222");
    EXPECT_EQ(AnruferAusNummernbereich(b), "07111234567");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich(std::string_view("\x01\x80" "0171234", 9))), "0171234");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich(std::string_view("\x01\x80" "*31#", 6))), "*31#");
}

TEST(CapiRufnummern, SuppressedOrMissingCallersGetTheirTexts) {
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("")), "nicht erkannt");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21\x20")), "ISDN Hidden");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich(std::string_view("\x00\xA0", 2))), "Unbekannt");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x40\x20")), "HideCode  64");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x12\x20")), "HideCode  18");
    // Presentation allowed, or not available (bit 6): no text at all.
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21\x00")), "");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21\x40")), "");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21\x60")), "");
    // A struct of length 1 has no presentation octet; the next byte is not read as one.
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21") + "\x20"), "");
}

TEST(CapiRufnummern, StructsRunningPastTheAreaGiveShorterTexts) {
    EXPECT_EQ(MsnAusNummernbereich(""), "");
    EXPECT_EQ(AnruferAusNummernbereich(""), "nicht erkannt");
    EXPECT_EQ(MsnAusNummernbereich(std::string_view("\x00\x05\x01\x80", 4)), "");
    EXPECT_EQ(MsnAusNummernbereich("\x01\x81"), "");
    EXPECT_EQ(MsnAusNummernbereich("\x09\x81" "22"), "22");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x01\x80" "7123").substr(0, 11)), "0712");
    EXPECT_EQ(AnruferAusNummernbereich(std::string("\xF0\x81" "22", 4)), "nicht erkannt");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21\x20").substr(0, 7)), "");
}

TEST(CapiRufnummern, EightBitCharactersBecomeUtf8AndControlsCannotSplitALine) {
    EXPECT_EQ(NummernText("\xC4\xF6\xDF\x80\x9F"), "Äöß€Ÿ");
    EXPECT_EQ(NummernText(std::string_view("1\t2\x00\x7F\x81", 6)), "1?2???");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x01\x80" "7\t1")), "07?1");
}

TEST(CapiAusloesegrund, KnownReasonsInWordsOthersAsSignedNumbers) {
    EXPECT_EQ(AusloesegrundText(0x3490), "Anrufer hat aufgelegt");
    EXPECT_EQ(AusloesegrundText(0x3304), "Angenommen am Computer");
    EXPECT_EQ(AusloesegrundText(0x349A), "Angenommen am S0-Bus");
    EXPECT_EQ(AusloesegrundText(0x349F), "Anruf umgeleitet");
    EXPECT_EQ(AusloesegrundText(0x34E6), "Abbruch durch VSt");
    EXPECT_EQ(AusloesegrundText(0x3301), "13057");
    EXPECT_EQ(AusloesegrundText(0), "0");
    EXPECT_EQ(AusloesegrundText(-32768), "-32768");
}

}  // namespace
}  // namespace rufpilot
