#include "tonwerk/decoders/poc_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "poc_testsignal.h"

namespace tonwerk {
namespace {

using test::anhaengen;
using test::konstant;
using test::NrzParameter;
using test::nrzAudio;
using test::einstellungenFuer;
using test::PocEmpfaenger;
using test::pocNachricht;
using test::pocPraambel;
using test::pocWorte;

std::vector<PocCodewort> idle(int n) { return std::vector<PocCodewort>(static_cast<std::size_t>(n), kPocIdleWort); }

std::vector<PocCodewort> plus(std::vector<PocCodewort> a, const std::vector<PocCodewort>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<POCType> empfange(const std::string& bits, const NrzParameter& p, Einstellungen e) {
    PocEmpfaenger empfaenger(std::move(e));
    auto audio = konstant(static_cast<std::size_t>(p.rate / 10), 128);
    anhaengen(audio, nrzAudio(bits, p));
    anhaengen(audio, konstant(static_cast<std::size_t>(p.rate), 128));
    empfaenger.zufuehrenMono(audio);
    return empfaenger.meldungen;
}

std::vector<POCType> empfange(const std::string& bits, Long rate, Long baud) {
    NrzParameter p;
    p.rate = rate;
    p.baud = baud;
    return empfange(bits, p, einstellungenFuer(rate, baud));
}

// Runs of exact length: run k ends at the sample round(end bit * rate / baud).
struct Lauftabelle {
    std::vector<Halbwelle> laeufe;
    std::vector<std::size_t> endBit;  // bits up to and including each run
};

Lauftabelle laeufeAus(const std::string& bits, Long rate, Long baud) {
    Lauftabelle t;
    t.laeufe.push_back({static_cast<std::int16_t>(rate / 10), 128});  // silence before
    t.endBit.push_back(0);
    long long vorher = 0;
    for (std::size_t i = 0; i < bits.size();) {
        std::size_t j = i;
        while (j < bits.size() && bits[j] == bits[i]) ++j;
        const long long ende = (static_cast<long long>(j) * rate + baud / 2) / baud;
        t.laeufe.push_back({static_cast<std::int16_t>(ende - vorher), static_cast<std::int16_t>(bits[i] == '0' ? 128 : 0)});
        t.endBit.push_back(j);
        vorher = ende;
        i = j;
    }
    return t;
}

TEST(PocDecoder, MessageReportedAtSecondCodewordOfSecondBatch) {
    const std::string praambel = pocPraambel(576);
    const std::string bits = praambel + pocNachricht(1234567, 3, "Test", 0);
    const Lauftabelle t = laeufeAus(bits, 11025, 512);
    std::vector<POCType> meldungen;
    std::size_t gemeldetBeiLauf = 0;
    PocDecoder decoder([&](POCType& m) { meldungen.push_back(m); });
    const Einstellungen e = einstellungenFuer(11025, 512);
    Ratenkonstanten k;
    berechnePocKonstanten(k, 11025, 512);
    for (std::size_t i = 0; i < t.laeufe.size(); ++i) {
        decoder.laufPruefung(0, Laeufe(&t.laeufe[i], 1), e, k);
        if (!meldungen.empty() && gemeldetBeiLauf == 0) gemeldetBeiLauf = i;
    }
    ASSERT_EQ(meldungen.size(), 1u);
    EXPECT_EQ(meldungen[0].Kanal, 0);
    EXPECT_EQ(meldungen[0].RIC, 1234567);
    EXPECT_EQ(meldungen[0].Funktion, 4);
    EXPECT_EQ(meldungen[0].TextBin.size(), 40u);
    EXPECT_EQ(meldungen[0].Text, "Test[NULL]");
    // The run that completed codeword 2 of the second batch raised it.
    const std::size_t ende = praambel.size() + 32 * (17 + 3);
    EXPECT_LT(t.endBit[gemeldetBeiLauf - 1], ende);
    EXPECT_GE(t.endBit[gemeldetBeiLauf], ende);
}

TEST(PocDecoder, MessageEndingOnCodeword16IsReportedAtMissingSync) {
    // Frame 7 with two message codewords would end on codeword 17; one codeword
    // ("A") ends on 16, and no further batch follows.
    const auto woerter = plus(plus({kPocSyncWort}, idle(14)), plus({PocAdresswort(1234567, 0)}, PocTextWoerter("A")));
    for (const char* danach : {"11111111111111111111111111111111", "01010011010101110001010111010101"}) {
        const auto m = empfange(pocPraambel(576) + pocWorte(woerter) + danach, 11025, 1200);
        ASSERT_EQ(m.size(), 1u) << danach;
        EXPECT_EQ(m[0].RIC, 1234567);
        EXPECT_EQ(m[0].Funktion, 1);
        EXPECT_EQ(m[0].Text, "A[NULL]");
        EXPECT_EQ(m[0].TextBin, "10000010000000000000");
    }
}

TEST(PocDecoder, PreambleNeedsMoreThanPocPraambelsRuns) {
    const auto woerter = plus({kPocSyncWort, PocAdresswort(8, 0)}, idle(15));
    // A leading long run at the "1" level, then the preamble; all but its last bit
    // are runs of their own.
    auto senden = [&](int praambelBits) {
        std::string p = praambelBits % 2 ? "0" : "";
        p += pocPraambel(praambelBits - static_cast<int>(p.size()));
        return empfange(std::string(10, p[0] == '1' ? '0' : '1') + p + pocWorte(woerter), 11025, 512);
    };
    EXPECT_TRUE(senden(501).empty());
    EXPECT_EQ(senden(502).size(), 1u);
    Einstellungen e = einstellungenFuer(22050, 1200);
    e.PocPraambels = 20;
    NrzParameter p;
    p.rate = 22050;
    p.baud = 1200;
    EXPECT_TRUE(empfange("1" + pocPraambel(21) + pocWorte(woerter), p, e).empty());
    EXPECT_EQ(empfange("0" + pocPraambel(22) + pocWorte(woerter), p, e).size(), 1u);
}

TEST(PocDecoder, TwoMessagesInOneBatch) {
    const auto a = PocTextWoerter("Hallo");
    const auto b = PocTextWoerter("Welt");
    auto woerter = plus({kPocSyncWort, PocAdresswort(8, 1)}, a);
    woerter.push_back(PocAdresswort(17, 2));  // frame 1 would be codeword 3; here it is codeword 4
    woerter = plus(woerter, b);
    woerter = plus(woerter, idle(static_cast<int>(17 - woerter.size())));
    const auto m = empfange(pocPraambel(576) + pocWorte(woerter), 11025, 512);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].RIC, 8);
    EXPECT_EQ(m[0].Funktion, 2);
    EXPECT_EQ(m[0].Text, "Hallo");
    // The frame comes from the position: codeword 4 is frame 1.
    EXPECT_EQ(m[1].RIC, 17);
    EXPECT_EQ(m[1].Funktion, 3);
    EXPECT_EQ(m[1].Text, "Welt[NULL]");
}

TEST(PocDecoder, AddressZeroInFrameZeroIsNeverReported) {
    EXPECT_TRUE(empfange(pocNachricht(0, 0, "Nie"), 11025, 512).empty());
    EXPECT_TRUE(empfange(pocNachricht(0, 0, ""), 22050, 1200).empty());
    const auto m = empfange(pocNachricht(8, 0, ""), 11025, 512);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].RIC, 8);
    EXPECT_EQ(m[0].Funktion, 1);
    EXPECT_EQ(m[0].Text, "");
    EXPECT_EQ(m[0].TextBin, "");
}

TEST(PocDecoder, InvertedAudioGivesSameMessage) {
    NrzParameter p;
    p.baud = 1200;
    for (bool invertiert : {false, true}) {
        p.invertiert = invertiert;
        const auto m = empfange(pocNachricht(1234567, 2, "Einsatz B3"), p, einstellungenFuer(11025, 1200));
        ASSERT_EQ(m.size(), 1u);
        EXPECT_EQ(m[0].RIC, 1234567);
        EXPECT_EQ(m[0].Funktion, 3);
        EXPECT_EQ(m[0].Text, "Einsatz B3[NULL]");
    }
}

// Long runs of equal bits (RIC 8: 17 zeros; RICs 1-7 with function 0: a codeword
// of 32 zeros) at every rate and bit rate.
class PocLangeLaeufe : public ::testing::TestWithParam<std::tuple<Long, Long>> {};

TEST_P(PocLangeLaeufe, AreCountedByTheTrueBitLength) {
    const auto [rate, baud] = GetParam();
    struct Fall {
        Long ric;
        Long funktion;
        std::string text;
        std::string erwartet;
    };
    const std::vector<Fall> faelle = {
        {8, 0, "", ""},
        {1, 0, "", ""},
        {7, 0, "ABC", "ABC[NULL][NULL]"},
        {2097151, 3, "\x7F\x7F\x7F", "[DEL][DEL][DEL][NULL][NULL]"},
        {16, 1, std::string(4, '\0'), "[NULL][NULL][NULL][NULL][NULL]"},
    };
    for (const auto& f : faelle) {
        const auto m = empfange(pocNachricht(f.ric, f.funktion, f.text), rate, baud);
        ASSERT_EQ(m.size(), 1u) << f.ric;
        EXPECT_EQ(m[0].RIC, f.ric);
        EXPECT_EQ(m[0].Funktion, f.funktion + 1);
        EXPECT_EQ(m[0].Text, f.erwartet);
    }
}

INSTANTIATE_TEST_SUITE_P(Raten, PocLangeLaeufe,
                         ::testing::Combine(::testing::Values(11025, 22050, 44100), ::testing::Values(512, 1200)));

TEST(PocDecoder, NothingFollowsTheEndOfATransmission) {
    NrzParameter p;
    p.rate = 22050;
    p.baud = 1200;
    const auto senden = nrzAudio(pocNachricht(1234567, 3, "Ende"), p);
    const std::vector<std::vector<std::uint8_t>> danach = {
        konstant(30000, 128), konstant(30000, 60), konstant(30000, 200), test::rauschen(60000, 30.0, 3),
        test::rauschen(60000, 3.0, 4),
    };
    for (std::size_t i = 0; i < danach.size(); ++i) {
        PocEmpfaenger empfaenger(einstellungenFuer(22050, 1200));
        auto audio = konstant(2000, 128);
        anhaengen(audio, senden);
        anhaengen(audio, danach[i]);
        anhaengen(audio, senden);
        anhaengen(audio, danach[i]);
        empfaenger.zufuehrenMono(audio);
        ASSERT_EQ(empfaenger.meldungen.size(), 2u) << i;
        for (const auto& m : empfaenger.meldungen) {
            EXPECT_EQ(m.RIC, 1234567);
            EXPECT_EQ(m.Text, "Ende[NULL]");
        }
    }
}

TEST(PocDecoder, TransmissionCutInMidBatch) {
    NrzParameter p;
    p.rate = 44100;
    p.baud = 512;
    // Cut in codeword 9 of the first batch, while the message (codewords 2-13) is pending.
    const std::string bits = pocNachricht(8, 0, "Abgeschnitten und weiter im Text").substr(0, 576 + 32 * 9 + 5);
    for (std::uint8_t pegel : {std::uint8_t{128}, std::uint8_t{40}, std::uint8_t{220}}) {
        PocEmpfaenger empfaenger(einstellungenFuer(44100, 512));
        auto audio = nrzAudio(bits, p);
        anhaengen(audio, konstant(50000, pegel));
        // The next transmission starts without a pause.
        anhaengen(audio, nrzAudio(pocNachricht(16, 0, "Weiter"), p));
        anhaengen(audio, konstant(50000, 128));
        empfaenger.zufuehrenMono(audio);
        ASSERT_EQ(empfaenger.meldungen.size(), 2u) << int{pegel};
        EXPECT_EQ(empfaenger.meldungen[0].RIC, 8);
        // Seven message codewords arrived: 140 bits, 20 characters.
        EXPECT_EQ(empfaenger.meldungen[0].Text, "Abgeschnitten und we");
        EXPECT_EQ(empfaenger.meldungen[1].RIC, 16);
        EXPECT_EQ(empfaenger.meldungen[1].Text, "Weiter[NULL][NULL]");
    }
    // A new preamble right after a cut batch ends the old reception early enough
    // for the new transmission to be found.
    PocEmpfaenger empfaenger(einstellungenFuer(44100, 512));
    auto audio = nrzAudio(pocNachricht(24, 0, "").substr(0, 576 + 32 * 5 + 10) + pocNachricht(32, 0, "X"), p);
    anhaengen(audio, konstant(50000, 128));
    empfaenger.zufuehrenMono(audio);
    ASSERT_FALSE(empfaenger.meldungen.empty());
    EXPECT_EQ(empfaenger.meldungen.front().RIC, 24);
    EXPECT_EQ(empfaenger.meldungen.back().RIC, 32);
    EXPECT_EQ(empfaenger.meldungen.back().Text, "X[NULL]");
}

TEST(PocDecoder, TransmissionBreakingOffIntoNoise) {
    // Noise where a codeword is due: its runs of less than half a bit end the
    // reception; without error control the pending message is reported once,
    // nothing is read from the noise. With error control a batch broken off by
    // noise is not trusted: nothing at all is reported.
    for (bool korrektur : {false, true})
        for (Long rate : {11025, 44100}) {
            for (Long baud : {512, 1200}) {
                NrzParameter p;
                p.rate = rate;
                p.baud = baud;
                for (unsigned schnitt = 0; schnitt < 32; schnitt += 5) {
                    Einstellungen e = einstellungenFuer(rate, baud);
                    e.PocFehlerkorrektur = korrektur ? Wahr : Falsch;
                    PocEmpfaenger empfaenger(e);
                    auto audio = nrzAudio(pocNachricht(8, 0, "Hallo Welt").substr(0, 576 + 32 * 5 + schnitt), p);
                    anhaengen(audio, test::rauschen(static_cast<std::size_t>(rate) * 3, 40.0, schnitt + 1));
                    empfaenger.zufuehrenMono(audio);
                    if (korrektur) {
                        EXPECT_TRUE(empfaenger.meldungen.empty()) << rate << " " << baud << " " << schnitt;
                        continue;
                    }
                    ASSERT_EQ(empfaenger.meldungen.size(), 1u) << rate << " " << baud << " " << schnitt;
                    EXPECT_EQ(empfaenger.meldungen[0].RIC, 8);
                    EXPECT_EQ(empfaenger.meldungen[0].Text.substr(0, 8), "Hallo We");
                }
            }
        }
}

TEST(PocDecoder, NoiseAndSilenceAloneGiveNothing) {
    for (Long rate : {11025, 22050, 44100}) {
        for (Long baud : {512, 1200}) {
            PocEmpfaenger empfaenger(einstellungenFuer(rate, baud));
            empfaenger.zufuehren(test::stereo(test::rauschen(static_cast<std::size_t>(rate) * 20, 20.0, 7),
                                              test::rauschen(static_cast<std::size_t>(rate) * 20, 60.0, 8)));
            empfaenger.zufuehren(test::stereo(konstant(static_cast<std::size_t>(rate) * 5, 128),
                                              konstant(static_cast<std::size_t>(rate) * 5, 0)));
            EXPECT_TRUE(empfaenger.meldungen.empty()) << rate << " " << baud;
        }
    }
}

TEST(PocDecoder, MessageBitsAreCapped) {
    // 40 batches of message codewords after one address codeword.
    std::vector<PocCodewort> woerter = {kPocSyncWort, PocAdresswort(8, 0)};
    const PocCodewort nachricht = PocTextWoerter("abc")[0];
    while (woerter.size() < 40 * 17) woerter.push_back(woerter.size() % 17 == 0 ? kPocSyncWort : nachricht);
    woerter = plus(woerter, plus({kPocSyncWort}, idle(16)));
    const auto m = empfange(pocPraambel(576) + pocWorte(woerter), 11025, 1200);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].RIC, 8);
    EXPECT_EQ(m[0].TextBin.size(), PocDecoder::kMaxNachrichtenBits);
    EXPECT_EQ(m[0].Text.substr(0, 2), "ab");
}

TEST(PocDecoder, ChannelsKeepTheirOwnState) {
    NrzParameter p;
    p.rate = 22050;
    PocEmpfaenger empfaenger(einstellungenFuer(22050, 512));
    p.invertiert = true;
    const auto links = nrzAudio(pocNachricht(800, 1, "links"), p);
    p.invertiert = false;
    auto rechts = konstant(3333, 128);
    anhaengen(rechts, nrzAudio(pocNachricht(801, 2, "rechts"), p));
    auto audio = test::stereo(links, rechts);
    anhaengen(audio, test::stereo(konstant(30000, 128), konstant(30000, 128)));
    empfaenger.zufuehren(audio);
    ASSERT_EQ(empfaenger.meldungen.size(), 2u);
    EXPECT_EQ(empfaenger.meldungen[0].Kanal, 0);
    EXPECT_EQ(empfaenger.meldungen[0].RIC, 800);
    EXPECT_EQ(empfaenger.meldungen[0].Text, "links");
    EXPECT_EQ(empfaenger.meldungen[1].Kanal, 1);
    EXPECT_EQ(empfaenger.meldungen[1].RIC, 801);
    EXPECT_EQ(empfaenger.meldungen[1].Text, "rechts[NULL][NULL]");
}

TEST(PocDecoder, SyncAndIdleWordSettings) {
    const std::string bits = pocNachricht(1234, 0, "Wort");
    NrzParameter p;
    Einstellungen e = einstellungenFuer(11025, 512);
    // Malformed settings stand for the standard words.
    e.PocSyncWord = "0111110011";
    e.PocIdleWord = "0111101010001001110000011001011x";
    auto m = empfange(bits, p, e);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].RIC, 1234);
    // A valid but different synchronisation word never synchronises.
    e.PocSyncWord = PocWortAlsBits(kPocSyncWort ^ 1u);
    EXPECT_TRUE(empfange(bits, p, e).empty());
}

}  // namespace
}  // namespace tonwerk
