#include "tonwerk/formats/cp1252.h"

#include <gtest/gtest.h>

namespace tonwerk {
namespace {

TEST(Cp1252, EveryByteSurvivesTheWayToUtf8AndBack) {
    std::string alle;
    for (int b = 0; b < 256; ++b) alle.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf8ZuCp1252(Cp1252ZuUtf8(alle)), alle);
    EXPECT_EQ(Cp1252ZuUtf8("\xC4\xD6\xDC\xE4\xF6\xFC\xDF\x80\x84\x93"), "ÄÖÜäöüß€„“");
}

TEST(Cp1252, CharactersOutsideThePageAndMalformedUtf8BecomeQuestionMarks) {
    EXPECT_EQ(Utf8ZuCp1252("a中b"), "a?b");
    EXPECT_EQ(Utf8ZuCp1252("x\xC3"), "x?");             // cut sequence
    EXPECT_EQ(Utf8ZuCp1252("\xFF\xC3\xA4\x80"), "?\xE4?");  // stray bytes around an ä
    EXPECT_EQ(Utf8ZuCp1252(std::string_view("\0\xED\xA0\x80", 4)), std::string("\0???", 4));  // surrogate
}

}  // namespace
}  // namespace tonwerk
