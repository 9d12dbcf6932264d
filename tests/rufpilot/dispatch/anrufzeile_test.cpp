// The call row's one writer and one reader: the line is what the list and the
// log always held, and reading it gives back every field.
#include "rufpilot/dispatch/anrufzeile.h"

#include <gtest/gtest.h>

namespace rufpilot {
namespace {

TEST(Anrufzeile, WrittenAsTheListAndTheLogHoldItAndReadBack) {
    const std::pair<Anrufzeile, std::string> faelle[] = {
        {{"10:00:05", "01711234567", "4712", "6A1B2345", 2, "DTR", true},
         "10:00:05\t01711234567\t4712\t6A1B2345\t2\tDTR\tja"},
        {{"23:59:59", "0301234", "", "6A1B9999", 4, "RTS", false}, "23:59:59\t0301234\t\t6A1B9999\t4\tRTS\tnein"},
        // Whatever the table holds as a line name goes into the row as it stands.
        {{"00:00:00", "sip:Wache", "111", "", 1, "Dtr", false}, "00:00:00\tsip:Wache\t111\t\t1\tDtr\tnein"},
    };
    for (const auto& [zeile, text] : faelle) {
        EXPECT_EQ(anrufZeileText(zeile), text);
        EXPECT_EQ(anrufZeileLesen(text), zeile) << text;
    }
}

TEST(Anrufzeile, LinesThatAreNoCallRowReadAsNothing) {
    for (const char* text : {"", "10:00:05", "10:00:05\ta\tb\tc\t2\tDTR", "10:00:05\ta\tb\tc\tzwei\tDTR\tja",
                             "10:00:05\ta\tb\tc\t2\tDTR\tvielleicht", "10:00:05\ta\tb\tc\t2\tDTR\tja\tmehr",
                             "10:00:05\ta\tb\tc\t2x\tDTR\tja"})
        EXPECT_FALSE(anrufZeileLesen(text)) << text;
}

}  // namespace
}  // namespace rufpilot
