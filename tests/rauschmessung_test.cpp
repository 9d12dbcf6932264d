// The noise measurement in short: the goals of the reception filter at 20 and
// 10 dB on every rate and for POCSAG at 0 dB, and the measurement itself on
// clean audio, where every message must come through and nothing else.
#include "rauschmessung.h"

#include <gtest/gtest.h>

#include <string>

namespace tonwerk::rauschmessung {
namespace {

constexpr int kRaten[] = {11025, 22050, 44100};

std::string wo(const Zelle& z) {
    return name(z.art) + " " + std::to_string(z.rate) + " Hz " + std::to_string(static_cast<int>(z.snrDb)) + " dB";
}

TEST(Rauschmessung, CleanAudioComesThroughExactlyWithTheLiteralDecoders) {
    // Far above the noise the decoders as they are miss nothing; a fault in the
    // generator, the feeding or the scoring shows here first.
    for (Signalart art : {Signalart::FMS, Signalart::POC512, Signalart::POC1200, Signalart::TonrufIILang})
        for (int rate : kRaten) {
            const Zelle z{art, rate, 40, 4, false, 3};
            const Ergebnis e = messen(z);
            EXPECT_EQ(e.gesendet, 4) << wo(z);
            EXPECT_EQ(e.richtig, 4) << wo(z);
            EXPECT_EQ(e.falsch, 0) << wo(z);
        }
    const Ergebnis zvei = messen(Zelle{Signalart::ZVEI, 22050, 40, 8, false, 3});
    EXPECT_EQ(zvei.richtig, 8);
    EXPECT_EQ(zvei.falsch, 0);
}

TEST(Rauschmessung, ReferenceGeneratorPocsagComesThroughOnCleanAudio) {
    for (Signalart art : {Signalart::POC512, Signalart::POC1200}) {
        Zelle z{art, 22050, 40, 4, false, 3};
        z.referenz = true;
        const Ergebnis e = messen(z);
        EXPECT_EQ(alsZaehlung(e), "4/0/0") << wo(z);
        EXPECT_EQ(e.falsch, 0) << wo(z);
    }
    EXPECT_EQ(alsZaehlung(Ergebnis{300, 297, 4, 1, 2, 0}), "297/1/2");
    EXPECT_EQ(alsZaehlung(Ergebnis{300, 300, 0, 0, 0, 2}), "300/0/0 +2 FMS/ZVEI");
}

TEST(Rauschmessung, ScoringTellsRightFromWrong) {
    EXPECT_EQ(alsText(Ergebnis{50, 47, 0}), "0.94");
    EXPECT_EQ(alsText(Ergebnis{50, 50, 2}), "1.00 (+2)");
    EXPECT_EQ(alsText(Ergebnis{50, 0, 1}), "0 (+1)");
    // The noise is really there and at its level: at 3 dB the decoders as they
    // are read no FMS telegram.
    const Ergebnis e = messen(Zelle{Signalart::FMS, 11025, 3, 5, false, 3});
    EXPECT_EQ(e.richtig, 0);
}

// Clean FFSK through the filter at 11025 Hz: a zero's short half-waves written
// back one sample too long read as long ones, and the telegram then came out
// shifted by a bit with a valid check word (a wrong unit's status).
TEST(Rauschmessung, FilteredFmsAt11025HzIsNeverShiftedByABit) {
    if (!empfangsfilterVorhanden()) GTEST_SKIP() << "Eigenschaft Empfangsfilter gibt es noch nicht";
    for (std::uint32_t saat : {1u, 2u}) {
        const Zelle z{Signalart::FMS, 11025, 60, 50, true, saat};
        const Ergebnis e = messen(z);
        EXPECT_EQ(e.richtig, 50) << wo(z) << ": " << alsText(e);
        EXPECT_EQ(e.falsch, 0) << wo(z) << ": " << alsText(e);
    }
}

// The reception filter's goals: at least the open decoder's rate in each cell,
// no wrong decode, every tone call one event of its kind.
TEST(Rauschmessung, ReceptionFilterGoalsAt20And10Db) {
    if (!empfangsfilterVorhanden()) GTEST_SKIP() << "Eigenschaft Empfangsfilter gibt es noch nicht";
    // FMS's goals leave room for a miss in 25 (one at 20 dB, two at 10 dB) as
    // they do in 50; the others allow none, and fewer messages keep it short.
    struct Ziel {
        Signalart art;
        int anzahl;
        double bei20, bei10;
    };
    const Ziel ziele[] = {{Signalart::FMS, 25, 0.94, 0.92},
                          {Signalart::ZVEI, 12, 1.0, 1.0},
                          {Signalart::POC512, 6, 1.0, 1.0},
                          {Signalart::POC1200, 8, 1.0, 1.0},
                          {Signalart::TonrufI, 3, 1.0, 1.0},
                          {Signalart::TonrufII, 3, 1.0, 1.0},
                          {Signalart::TonrufIILang, 3, 1.0, 1.0}};
    for (const Ziel& ziel : ziele)
        for (double snr : {20.0, 10.0})
            for (int rate : kRaten) {
                const Zelle z{ziel.art, rate, snr, ziel.anzahl, true, 11};
                const Ergebnis e = messen(z);
                EXPECT_GE(e.anteil(), snr == 20.0 ? ziel.bei20 : ziel.bei10) << wo(z) << ": " << alsText(e);
                EXPECT_EQ(e.falsch, 0) << wo(z) << ": " << alsText(e);
            }
}

// POCSAG at 1200 bit/s with an exact bit clock through the filter at 0 dB,
// where bits decided by edges alone broke the preamble's count in almost
// half the messages: the goal of 0.8, and never a RIC that was not sent.
TEST(Rauschmessung, ReferencePocsagThroughTheFilterAt0Db) {
    if (!empfangsfilterVorhanden()) GTEST_SKIP() << "Eigenschaft Empfangsfilter gibt es noch nicht";
    Zelle z{Signalart::POC1200, 22050, 0, 40, true, 5};
    z.referenz = true;
    const Ergebnis e = messen(z);
    EXPECT_GE(e.anteil(), 0.8) << alsZaehlung(e);
    EXPECT_EQ(e.erfunden, 0) << alsZaehlung(e);
    EXPECT_EQ(e.fremd, 0) << alsZaehlung(e);
}

}  // namespace
}  // namespace tonwerk::rauschmessung
