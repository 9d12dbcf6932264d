#include "tonwerk/transmit/poc_senden.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace tonwerk {
namespace {

struct Lauf {
    std::uint8_t wert;
    std::size_t laenge;
};

std::vector<Lauf> laeufe(const std::vector<std::uint8_t>& proben) {
    std::vector<Lauf> l;
    for (std::uint8_t p : proben) {
        if (!l.empty() && l.back().wert == p) {
            ++l.back().laenge;
        } else {
            l.push_back({p, 1});
        }
    }
    return l;
}

std::vector<std::uint8_t> senden(Long baud, Long ric, Long funktion, const std::string& text,
                                 const Einstellungen& e = Einstellungen{}) {
    Tongenerator g;
    PocSendeAudio(g, e, PocSendeauftrag{baud, ric, funktion, text});
    return {g.Proben().begin(), g.Proben().end()};
}

TEST(PocSenden, SampleCounts) {
    EXPECT_EQ(senden(1, 8, 0, "").size(), 16879u);
    EXPECT_EQ(senden(0, 8, 0, "").size(), 31180u);
    EXPECT_EQ(senden(1, 1234567, 0, "A").size(), 21856u);
    EXPECT_EQ(senden(1, 8, 0, std::string(255, 'x')).size(), 41960u);
    // Any baud value but 0 is 1200 bit/s.
    EXPECT_EQ(senden(7, 8, 0, "").size(), 16879u);
}

TEST(PocSenden, RunLengthsAreRoundedOncePerRun) {
    EXPECT_EQ(PocLaufProben(0, 1), 22);
    EXPECT_EQ(PocLaufProben(0, 2), 43);
    EXPECT_EQ(PocLaufProben(1, 1), 9);
    EXPECT_EQ(PocLaufProben(1, 8), 74);  // 73.5, half to even
    EXPECT_EQ(PocLaufProben(1, 2), 18);  // 18.375
    EXPECT_EQ(PocLaufProben(1, 4), 37);  // 36.75
}

TEST(PocSenden, PreambleAndLevels) {
    const auto l = laeufe(senden(0, 8, 0, ""));
    ASSERT_GT(l.size(), 580u);
    EXPECT_EQ(l[0].wert, 128);
    EXPECT_EQ(l[0].laenge, 6615u);
    // 575 preamble bits of their own, starting with a one (68) ...
    for (std::size_t i = 1; i <= 575; ++i) {
        EXPECT_EQ(l[i].wert, i % 2 ? 68 : 188) << i;
        EXPECT_EQ(l[i].laenge, 22u) << i;
    }
    // ... and the last preamble zero joined with the first bit of the sync codeword.
    EXPECT_EQ(l[576].wert, 188);
    EXPECT_EQ(l[576].laenge, 43u);
    EXPECT_EQ(l.back().wert, 128);
    EXPECT_EQ(l.back().laenge, 100u);
}

TEST(PocSenden, ShortPreamblesAreTwoBits) {
    for (Long laenge : {2, 1, 0, -5}) {
        Einstellungen e;
        e.PocSendPreambellaenge = laenge;
        const auto l = laeufe(senden(1, 8, 0, "", e));
        EXPECT_EQ(l[1].wert, 68) << laenge;
        EXPECT_EQ(l[1].laenge, 9u) << laenge;
        EXPECT_EQ(l[2].wert, 188) << laenge;
        EXPECT_EQ(l[2].laenge, 18u) << laenge;
    }
    Einstellungen e;
    e.PocSendPreambellaenge = 11;  // 11 / 2 - 1 = 4.5 rounds to 4 pairs
    const auto l = laeufe(senden(1, 8, 0, "", e));
    EXPECT_EQ(l[9].laenge, 9u);
    EXPECT_EQ(l[10].laenge, 18u);
}

TEST(PocSenden, PhaseReversalAndLevel) {
    Einstellungen e;
    e.PocPhaseUmkehren = Wahr;
    e.PocAusgangspegel = 127;
    const auto l = laeufe(senden(1, 8, 0, "", e));
    EXPECT_EQ(l[1].wert, 255);
    EXPECT_EQ(l[2].wert, 1);
    e.PocAusgangspegel = 0;
    for (std::uint8_t p : senden(1, 8, 0, "", e)) ASSERT_EQ(p, 128);
}

TEST(PocSenden, OverlongPreambleIsRefused) {
    Einstellungen e;
    e.PocSendPreambellaenge = 2000000000;
    Tongenerator g;
    EXPECT_THROW(PocSendeAudio(g, e, PocSendeauftrag{0, 8, 0, ""}), std::overflow_error);
    EXPECT_EQ(g.Probenzahl(), 0);
}

TEST(PocSenden, CharactersAbove127AreLeftOut) {
    EXPECT_EQ(senden(1, 8, 0, "café"), senden(1, 8, 0, "caf"));
    EXPECT_NE(senden(1, 8, 0, "cafe"), senden(1, 8, 0, "caf"));
}

TEST(PocSenden, MalformedCodewordSettingsSendTheStandardWords) {
    const auto standard = senden(1, 1234, 2, "Text");
    Einstellungen e;
    for (const char* wort : {"", "0111", "0111110011010010000101011101100x", "0111110011010010000101011101100 1"}) {
        e.PocSyncWord = wort;
        e.PocIdleWord = wort;
        const auto proben = senden(1, 1234, 2, "Text", e);
        EXPECT_EQ(proben, standard) << wort;
        EXPECT_EQ(std::set<std::uint8_t>(proben.begin(), proben.end()), (std::set<std::uint8_t>{68, 128, 188}));
    }
    // A longer valid word is cut to 32 characters; another valid word is sent as it is.
    e.PocSyncWord = "0111110011010010000101011101100011";
    e.PocIdleWord = "01111010100010011100000110010111";
    EXPECT_EQ(senden(1, 1234, 2, "Text", e), standard);
    e.PocIdleWord = "01111010100010011100000110010110";
    EXPECT_NE(senden(1, 1234, 2, "Text", e), standard);
}

}  // namespace
}  // namespace tonwerk
