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
    // The one form of every source: the country code of home becomes the "0".
    EXPECT_EQ(AnruferAusNummernbereich(Bereich(std::string_view("\x01\x80" "0049301234", 12))), "0301234");
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
    // A struct of length 1: the byte where octet 3a stands still says
    // whether the number is suppressed.
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21") + "\x20"), "ISDN Hidden");
    EXPECT_EQ(AnruferAusNummernbereich(Bereich("\x21") + std::string(1, '\0')), "");
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

TEST(CapiAusloesegrund, KnownReasonsInWordsOthersAsSignedNumbersWithWords) {
    const std::pair<std::uint16_t, const char*> faelle[] = {
        {0x3490, "Anrufer hat aufgelegt"},
        {0x3304, "Angenommen am Computer"},
        {0x349A, "Angenommen am S0-Bus"},
        {0x349F, "Anruf umgeleitet"},
        {0x34E6, "Abbruch durch VSt"},
        {0x3301, "13057 (Protokollfehler Schicht 1)"},
        {0x3400, "13312 (ohne Ursache)"},
        {0x3491, "13457 (Teilnehmer besetzt)"},
        {0, "0 (normale Auslösung)"},
        {0x8000, "-32768 (unbekannter Grund)"},
    };
    for (const auto& [grund, text] : faelle) EXPECT_EQ(AusloesungText(CapiAusloesung(grund)), text) << grund;
}

TEST(CapiAusloesegrund, InfoValuesCarryWordsBesideTheirCode) {
    EXPECT_EQ(CapiInfoText(0x2002), "0x2002 (ungültiger Controller oder ungültige PLCI)");
    EXPECT_EQ(CapiInfoText(0x1108), "0x1108 (Verbindung zur CAPI verloren)");
    EXPECT_EQ(CapiInfoText(0x3008), "0x3008 (nicht unterstützte Angabe)");
    EXPECT_EQ(CapiInfoText(0xBEEF), "0xBEEF (unbekannter Fehler)");
}

}  // namespace
}  // namespace rufpilot
