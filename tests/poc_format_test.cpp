#include <gtest/gtest.h>

#include <string>

#include "tonwerk/formats/poc_batch.h"
#include "tonwerk/formats/poc_codewort.h"
#include "tonwerk/formats/poc_text.h"

namespace tonwerk {
namespace {

// True when the ten check bits are the BCH remainder of the 21 information bits
// and the parity over all 32 bits is even.
bool PocWortGueltig(PocCodewort wort) {
    return PocBch(wort >> 11) == ((wort >> 1) & 0x3FFu) && PocParitaet(wort >> 1) == (wort & 1u);
}

TEST(PocCodewort, FixedWordsCheckBitsAndParity) {
    EXPECT_EQ(PocWortAlsBits(kPocSyncWort), "01111100110100100001010111011000");
    EXPECT_EQ(PocWortAlsBits(kPocIdleWort), "01111010100010011100000110010111");
    EXPECT_EQ(PocBch(kPocSyncWort >> 11), 0b1011101100u);
    EXPECT_EQ(PocBch(kPocIdleWort >> 11), 0b0011001011u);
    EXPECT_TRUE(PocWortGueltig(kPocSyncWort));
    EXPECT_TRUE(PocWortGueltig(kPocIdleWort));
    EXPECT_EQ(PocParitaet(kPocSyncWort >> 1), kPocSyncWort & 1u);
    EXPECT_EQ(PocParitaet(kPocIdleWort >> 1), kPocIdleWort & 1u);
    EXPECT_FALSE(PocWortGueltig(kPocSyncWort ^ 0x00010000u));
    EXPECT_FALSE(PocWortGueltig(kPocSyncWort ^ 1u));
}

TEST(PocCodewort, AddressWordOfRic8) {
    const PocCodewort wort = PocAdresswort(8, 0);
    EXPECT_EQ(PocWortAlsBits(wort), "00000000000000000010011011101100");
    EXPECT_TRUE(PocWortGueltig(wort));
    EXPECT_EQ(PocRahmen(8), 0);
}

TEST(PocCodewort, FunctionBitsAndAddressRange) {
    // Values other than 1..3 are sent as "00".
    EXPECT_EQ(PocAdresswort(8, 5), PocAdresswort(8, 0));
    EXPECT_EQ(PocAdresswort(8, -1), PocAdresswort(8, 0));
    for (Long f = 0; f < 4; ++f) {
        const PocCodewort wort = PocAdresswort(2097151, f);
        EXPECT_EQ((wort >> 11) & 3u, static_cast<std::uint32_t>(f));
        EXPECT_EQ((wort >> 13) & 0x3FFFFu, 0x3FFFFu);
        EXPECT_EQ(wort >> 31, 0u);
        EXPECT_TRUE(PocWortGueltig(wort));
    }
    // RIC 1234567 is address 154320 in frame 7; the frame bits are not sent.
    EXPECT_EQ((PocAdresswort(1234567, 3) >> 13) & 0x3FFFFu, 154320u);
    EXPECT_EQ(PocAdresswort(1234567, 3), PocAdresswort(1234560, 3));
    EXPECT_EQ(PocRahmen(1234567), 7);
}

TEST(PocCodewort, MessageWordsAreValid) {
    for (std::uint32_t nutz : {0u, 1u, 0xFFFFFu, 0x82000u, 0xABCDEu}) {
        const PocCodewort wort = PocNachrichtenwort(nutz);
        EXPECT_EQ(wort >> 31, 1u);
        EXPECT_EQ((wort >> 11) & 0xFFFFFu, nutz);
        EXPECT_TRUE(PocWortGueltig(wort));
    }
}

TEST(PocText, PackingOfOneCharacter) {
    EXPECT_EQ(PocTextBits("A"), "1000001");
    const auto woerter = PocTextWoerter("A");
    ASSERT_EQ(woerter.size(), 1u);
    EXPECT_EQ(woerter[0], PocNachrichtenwort(0b10000010000000000000u));
    EXPECT_EQ(PocAlphaText("10000010000000000000"), "A[NULL]");
    EXPECT_TRUE(PocTextWoerter("").empty());
}

TEST(PocText, LongTextIsCutTo255Characters) {
    const std::string text(300, 'x');
    EXPECT_EQ(PocTextBits(text).size(), 1785u);
    EXPECT_EQ(PocTextWoerter(text).size(), 90u);
    EXPECT_EQ(PocTextWoerter(std::string(255, 'x')).size(), 90u);
    // 255 two-byte characters in UTF-8 still are 255 characters.
    std::string umlaute;
    for (int i = 0; i < 300; ++i) umlaute += "ä";
    EXPECT_EQ(PocTextBits(umlaute).size(), 1785u);
}

TEST(PocText, GermanLettersRoundTrip) {
    EXPECT_EQ(PocZeichenCode(U'§'), 64);
    EXPECT_EQ(PocZeichenCode(U'ß'), 126);
    std::string bits = PocTextBits("§ÄÖÜäöüß Test");
    EXPECT_EQ(PocAlphaText(bits), "§ÄÖÜäöüß Test");
    // Braces share their codes with ä and ü: they read back as the German letters.
    EXPECT_EQ(PocAlphaText(PocTextBits("{}")), "äü");
}

TEST(PocText, CharactersAboveCode127AreLeftOut) {
    EXPECT_EQ(PocZeichenCode(U'é'), 233);
    EXPECT_EQ(PocZeichenCode(U'€'), 128);
    EXPECT_EQ(PocZeichenCode(U'\u4E00'), 63);
    EXPECT_EQ(PocAlphaText(PocTextBits("café!")), "caf!");
    // A malformed UTF-8 byte counts as one unknown character.
    EXPECT_EQ(PocAlphaText(PocTextBits("a\xFF" "b")), "a?b");
    EXPECT_EQ(PocAlphaText(PocTextBits("a\xC3")), "a?");
}

TEST(PocText, DisplayOfControlCodesAndFinalBits) {
    EXPECT_EQ(PocZeichenAnzeige(17), "[DC]");
    EXPECT_EQ(PocZeichenAnzeige(20), "[DC]");
    EXPECT_EQ(PocZeichenAnzeige(127), "[DEL]");
    // The final group of fewer than seven bits is ignored.
    EXPECT_EQ(PocAlphaText("100000110000"), "A");
    EXPECT_EQ(PocAlphaText("100000"), "");
}

TEST(PocBatch, Ric8WithoutTextFillsOneBatch) {
    const auto folge = PocBatchFolge(8, PocAdresswort(8, 0), {});
    ASSERT_EQ(folge.size(), 17u);
    EXPECT_EQ(folge[0], kPocSyncWort);
    EXPECT_EQ(folge[1], PocAdresswort(8, 0));
    for (std::size_t i = 2; i < 17; ++i) EXPECT_EQ(folge[i], kPocIdleWort);
}

TEST(PocBatch, MessageEndingOnCodeword16AddsIdleBatch) {
    const auto text = PocTextWoerter("A");
    const auto folge = PocBatchFolge(1234567, PocAdresswort(1234567, 0), text);
    ASSERT_EQ(folge.size(), 34u);
    for (std::size_t i = 1; i <= 14; ++i) EXPECT_EQ(folge[i], kPocIdleWort);
    EXPECT_EQ(folge[15], PocAdresswort(1234567, 0));
    EXPECT_EQ(folge[16], text[0]);
    EXPECT_EQ(folge[17], kPocSyncWort);
    for (std::size_t i = 18; i < 34; ++i) EXPECT_EQ(folge[i], kPocIdleWort);
}

TEST(PocBatch, MessageRunsAcrossBatches) {
    const auto text = PocTextWoerter(std::string(255, 'x'));
    // RIC 8 in frame 0: 1 + 90 codewords fill 5 batches and 11 codewords of a sixth.
    const auto folge = PocBatchFolge(8, PocAdresswort(8, 0), text);
    ASSERT_EQ(folge.size(), 6u * 17u);
    for (std::size_t b = 0; b < 6; ++b) EXPECT_EQ(folge[b * 17], kPocSyncWort);
    EXPECT_EQ(folge[18], text[15]);  // first codeword of the second batch
    EXPECT_EQ(folge[5 * 17 + 11], text[89]);
    EXPECT_EQ(folge[5 * 17 + 12], kPocIdleWort);
    // In frame 7 the same text needs seven batches.
    EXPECT_EQ(PocBatchFolge(15, PocAdresswort(15, 0), text).size(), 7u * 17u);
}

}  // namespace
}  // namespace tonwerk
