#include "tonwerk/transmit/zvei_senden.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "tonwerk/transmit/tongenerator.h"

namespace tonwerk {
namespace {

std::vector<std::uint8_t> audio(const std::string& nr, Boolean doppelt = Falsch, Long zusatz = 0, Integer pegel = 60) {
    Einstellungen e;
    e.Ausgangspegel = pegel;
    Tongenerator g;
    ZveiSendeAudio(g, e, nr, doppelt, zusatz);
    return {g.Proben().begin(), g.Proben().end()};
}

// Samples of `zyklen` whole cycles with a phase step of `schritt` degrees from
// `phase`, which is left where the last cycle ends.
long tonProben(int zyklen, int schritt, int& phase) {
    const long ziel = 360L * zyklen;
    const long n = (ziel - phase + schritt - 1) / schritt;
    phase = static_cast<int>(phase + n * schritt - ziel);
    return n;
}

struct Ton {
    int zyklen, schritt;
};

long folgeProben(std::initializer_list<Ton> toene) {
    int phase = 0;
    long n = 0;
    for (const Ton& t : toene) n += tonProben(t.zyklen, t.schritt, phase);
    return n + 6;
}

bool alleGleich(const std::vector<std::uint8_t>& a, std::size_t von, std::size_t anzahl, std::uint8_t wert) {
    for (std::size_t i = von; i < von + anzahl; ++i)
        if (a.at(i) != wert) return false;
    return true;
}

void endetMitSchwanz(const std::vector<std::uint8_t>& a, std::size_t ende) {
    const std::vector<std::uint8_t> schwanz(a.begin() + static_cast<long>(ende) - 6, a.begin() + static_cast<long>(ende));
    EXPECT_EQ(schwanz, (std::vector<std::uint8_t>{126, 130, 126, 130, 126, 130}));
}

// 1060, 1160, 1270, 1400, 1530 Hz: 74, 81, 89, 98 and 107 cycles with steps 35..50.
const long kFolge12345 = folgeProben({{74, 35}, {81, 38}, {89, 41}, {98, 46}, {107, 50}});

TEST(ZveiSenden, SingleSequenceLayout) {
    const auto a = audio("12345");
    ASSERT_EQ(static_cast<long>(a.size()), 6615 + kFolge12345 + 772);
    EXPECT_TRUE(alleGleich(a, 0, 6615, 128));
    // The first tone starts at phase 0 and steps by 35 degrees.
    EXPECT_EQ(a[6615], Abtastwert(0, 60));
    EXPECT_EQ(a[6616], Abtastwert(35, 60));
    EXPECT_EQ(a[6616], 162);
    // The second tone continues from phase 30, where 74 cycles of 1060 Hz end (762 samples).
    EXPECT_EQ(a[6615 + 762], Abtastwert(30, 60));
    EXPECT_EQ(a[6615 + 763], Abtastwert(68, 60));
    endetMitSchwanz(a, static_cast<std::size_t>(6615 + kFolge12345));
    EXPECT_TRUE(alleGleich(a, static_cast<std::size_t>(6615 + kFolge12345), 772, 128));
}

TEST(ZveiSenden, RepeatToneAndShortNumbers) {
    // 11111 is sent as 1 W 1 W 1 (2600 Hz: 182 cycles, step 85).
    EXPECT_EQ(static_cast<long>(audio("11111").size()),
              6615 + folgeProben({{74, 35}, {182, 85}, {74, 35}, {182, 85}, {74, 35}}) + 772);
    // 123: 1060, 1160, 1270, then 1000 Hz (70 cycles, step 33) and the repeat tone.
    EXPECT_EQ(static_cast<long>(audio("123").size()),
              6615 + folgeProben({{74, 35}, {81, 38}, {89, 41}, {70, 33}, {182, 85}}) + 772);
    // Characters beyond the fifth are ignored.
    EXPECT_EQ(audio("1234599"), audio("12345"));
}

TEST(ZveiSenden, DoubleSendingRepeatsTheSequenceFromPhaseZero) {
    const auto a = audio("12345", Wahr);
    ASSERT_EQ(static_cast<long>(a.size()), 6615 + 2 * kFolge12345 + 6615 + 772);
    const auto erste = a.begin() + 6615;
    const auto zweite = erste + kFolge12345 + 6615;
    EXPECT_TRUE(std::equal(erste, erste + kFolge12345, zweite));
    EXPECT_TRUE(alleGleich(a, static_cast<std::size_t>(6615 + kFolge12345), 6615, 128));
    // Any non-zero Boolean counts as True.
    EXPECT_EQ(audio("12345", 1), a);
}

TEST(ZveiSenden, AdditionalSignals) {
    const long basis = 6615 + kFolge12345 + 772;
    const auto mit = [](Long z) { return static_cast<long>(audio("12345", Falsch, z).size()); };
    EXPECT_EQ(mit(0), basis);
    EXPECT_EQ(mit(-1), basis);
    EXPECT_EQ(mit(1), basis + 6615 + 5 * (8820 + 2205));
    for (Long z = 2; z <= 6; ++z) EXPECT_EQ(mit(z), basis + 6615 + 55125) << z;
    EXPECT_EQ(mit(7), basis + 6615);
    EXPECT_EQ(mit(9), basis + 6615);

    // Signal 1: each 0.8 s burst of 2600 Hz starts at phase 0, followed by 0.2 s of silence.
    const auto a = audio("12345", Falsch, 1);
    const std::size_t start = static_cast<std::size_t>(6615 + kFolge12345 + 6615);
    for (std::size_t k = 0; k < 5; ++k) {
        const std::size_t b = start + k * (8820 + 2205);
        EXPECT_EQ(a[b], 128);
        EXPECT_EQ(a[b + 1], Abtastwert(85, 60));
        EXPECT_TRUE(alleGleich(a, b + 8820, 2205, 128));
    }
    // Signals 2..6 differ from each other.
    EXPECT_NE(audio("12345", Falsch, 2), audio("12345", Falsch, 3));
    EXPECT_NE(audio("12345", Falsch, 4), audio("12345", Falsch, 6));
}

TEST(ZveiSenden, LevelZeroLeavesOnlyTheTail) {
    const auto a = audio("12345", Wahr, 2, 0);
    std::size_t nichtNull = 0;
    for (std::uint8_t b : a) nichtNull += b != 128;
    EXPECT_EQ(nichtNull, 12u);  // the two tails of 126/130
}

}  // namespace
}  // namespace tonwerk
