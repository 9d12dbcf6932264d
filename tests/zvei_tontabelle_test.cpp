#include "tonwerk/formats/zvei_tontabelle.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "tonwerk/formats/utf8.h"

namespace tonwerk {
namespace {

std::array<int, 5> frequenzen(std::string_view rufnummer) {
    std::array<int, 5> f{};
    const auto folge = ZveiSendefolge(rufnummer);
    for (std::size_t i = 0; i < 5; ++i) f[i] = ZveiSendeFrequenz(folge[i]);
    return f;
}

TEST(ZveiTontabelle, DigitsAndRepeatToneHaveTheirFrequencies) {
    const std::array<int, 11> erwartet = {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200, 2600};
    const std::u32string_view zeichen = U"0123456789W";
    for (std::size_t i = 0; i < zeichen.size(); ++i) EXPECT_EQ(ZveiSendeFrequenz(zeichen[i]), erwartet[i]);
    EXPECT_EQ(ZveiSendeFrequenz(U'A'), 1000);
    EXPECT_EQ(ZveiSendeFrequenz(U' '), 1000);
    EXPECT_EQ(ZveiSendeFrequenz(U'w'), 1000);
    EXPECT_EQ(ZveiSendeFrequenz(kZveiLeer), 1000);
}

TEST(ZveiTontabelle, RepeatRuleComparesWithTheCharacterAsSent) {
    EXPECT_EQ(frequenzen("12345"), (std::array<int, 5>{1060, 1160, 1270, 1400, 1530}));
    EXPECT_EQ(frequenzen("11223"), (std::array<int, 5>{1060, 2600, 1160, 2600, 1270}));
    EXPECT_EQ(ZveiSendefolge("11111"), (std::array<char32_t, 5>{U'1', U'W', U'1', U'W', U'1'}));
    EXPECT_EQ(ZveiSendefolge("1111"), (std::array<char32_t, 5>{U'1', U'W', U'1', U'W', kZveiLeer}));
    EXPECT_EQ(frequenzen("1W1"), (std::array<int, 5>{1060, 2600, 1060, 1000, 2600}));
    EXPECT_EQ(ZveiSendefolge("1WW")[2], U'W');
    EXPECT_EQ(frequenzen("1WW"), (std::array<int, 5>{1060, 2600, 2600, 1000, 2600}));
}

TEST(ZveiTontabelle, ShortLongAndForeignCallNumbers) {
    // Empty positions: the first is compared with the empty character and sent as "W".
    EXPECT_EQ(frequenzen("123"), (std::array<int, 5>{1060, 1160, 1270, 1000, 2600}));
    EXPECT_EQ(frequenzen(""), (std::array<int, 5>{2600, 1000, 2600, 1000, 2600}));
    EXPECT_EQ(frequenzen("1234567"), frequenzen("12345"));
    EXPECT_EQ(frequenzen("A 1"), (std::array<int, 5>{1000, 1000, 1060, 1000, 2600}));
    // A multi-byte character is one position, and two equal ones repeat.
    EXPECT_EQ(ZveiSendefolge("\xC3\x84\xC3\x84" "1"), (std::array<char32_t, 5>{U'\u00C4', U'W', U'1', kZveiLeer, U'W'}));
    // A truncated sequence still yields five positions and stays inside the text.
    EXPECT_EQ(frequenzen("1\xC3"), (std::array<int, 5>{1060, 1000, 1000, 2600, 1000}));
    // Malformed bytes are unknown characters, all alike: the second one repeats.
    EXPECT_EQ(ZveiSendefolge("\xFF\xFE" "1"), (std::array<char32_t, 5>{kUtf8Ersatz, U'W', U'1', kZveiLeer, U'W'}));
}

}  // namespace
}  // namespace tonwerk
