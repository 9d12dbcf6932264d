// What the test buttons and the new-entry dialog accept.
#include "rufpilot/dispatch/eingaben.h"

#include <gtest/gtest.h>

namespace rufpilot {
namespace {

TEST(Eingaben, FmsTestNeedsAPositiveStatusAndEightCharacters) {
    EXPECT_EQ(fmsTestStatus("3", "12345678"), 3);
    EXPECT_EQ(fmsTestStatus(" 3 ", "6A1B2345"), 3);
    EXPECT_EQ(fmsTestStatus("0", "12345678"), std::nullopt);
    EXPECT_EQ(fmsTestStatus("-2", "12345678"), std::nullopt);
    EXPECT_EQ(fmsTestStatus("", "12345678"), std::nullopt);
    EXPECT_EQ(fmsTestStatus("3a", "12345678"), std::nullopt);
    EXPECT_EQ(fmsTestStatus("3", "1234567"), std::nullopt);
    EXPECT_EQ(fmsTestStatus("3", "123456789"), std::nullopt);
    EXPECT_EQ(fmsTestStatus("3", "1234567Ä"), 3);  // characters, not bytes
    EXPECT_EQ(fmsTestStatus("99999", "12345678"), std::nullopt);
}

TEST(Eingaben, FmsTestStatusRoundsHalfToEven) {
    EXPECT_EQ(fmsTestStatus("2.5", "12345678"), 2);
    EXPECT_EQ(fmsTestStatus("3,5", "12345678"), 4);
    EXPECT_EQ(fmsTestStatus("2.51", "12345678"), 3);
    EXPECT_EQ(fmsTestStatus("0.5", "12345678"), 0);  // greater than 0, rounds to 0
    EXPECT_EQ(fmsTestStatus("0.0", "12345678"), std::nullopt);
}

TEST(Eingaben, HandyTestAndNewEntryLengths) {
    EXPECT_FALSE(handyTestMoeglich("01711", "47110"));
    EXPECT_FALSE(handyTestMoeglich("017112", "4711"));
    EXPECT_TRUE(handyTestMoeglich("017112", "47110"));
    EXPECT_TRUE(eintragGueltig("12345678", "03012"));
    EXPECT_FALSE(eintragGueltig("1234567", "03012"));
    EXPECT_FALSE(eintragGueltig("123456789", "03012"));
    EXPECT_FALSE(eintragGueltig("12345678", "0301"));
}

TEST(Eingaben, MsnLineHasNineFieldsEachEndedBySemicolon) {
    EXPECT_EQ(msnListeBauen({}), ";;;;;;;;;");
    EXPECT_EQ(msnListeBauen({"4711", "", "4713"}), "4711;;4713;;;;;;;");
}

}  // namespace
}  // namespace rufpilot
