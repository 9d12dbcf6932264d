// The reference generator itself: its codewords against the published vectors
// and the library's format functions (two independent codings that must agree),
// its batch layout, and the timing and level of its waveforms.
#include "referenzsignal.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tonwerk/formats/poc_codewort.h"
#include "tonwerk/formats/poc_text.h"

namespace tonwerk::referenz {
namespace {

TEST(Referenzsignal, CodewordsMatchThePublishedVectorsAndTheLibrary) {
    EXPECT_EQ(pocAdresswort(8, 0), 0b00000000000000000010011011101100u);
    EXPECT_EQ(pocCodewort(kSyncWort >> 11), kSyncWort);
    EXPECT_EQ(pocCodewort(kIdleWort >> 11), kIdleWort);
    for (std::uint32_t ric : {8u, 1234567u, 2097151u, 1496711u, 16u})
        for (int funktion = 0; funktion < 4; ++funktion)
            EXPECT_EQ(pocAdresswort(ric, funktion), PocAdresswort(static_cast<Long>(ric), funktion)) << ric;
    for (const char* text : {"A", "Einsatz Brand Wohnung", "Grüße aus Köln §1 ÄÖÜß", ""})
        EXPECT_EQ(pocTextWorte(text), PocTextWoerter(text)) << text;
    EXPECT_THROW(pocTextWorte("€"), std::invalid_argument);
}

TEST(Referenzsignal, BatchLayoutPlacesAddressesInTheirFrames) {
    struct Fall {
        std::vector<PocMeldung> meldungen;
        bool leererBatch;
        std::size_t worte;
        std::vector<std::size_t> adressen;
        std::vector<std::size_t> letztesNachrichtenwort;
    };
    const Fall faelle[] = {
        // Frame 7: codeword 15 of the first batch; "Test" (28 bits) spills over the next sync.
        {{{1234567, 3, "Test"}}, false, 34, {15}, {18}},
        // Ends on codeword 16 (12 characters = 84 bits = 5 codewords from codeword 12):
        // with the trailing batch one more batch of idle codewords.
        {{{1234565, 0, "Keller Brand"}}, false, 17, {11}, {16}},
        {{{1234565, 0, "Keller Brand"}}, true, 34, {11}, {16}},
        // Two messages: the second's frame 0 has passed, so it opens the next batch.
        {{{1234567, 0, "A"}, {8, 0, "B"}}, false, 34, {15, 18}, {16, 19}},
        // Second message in a later frame of the same batch.
        {{{8, 0, "A"}, {13, 0, ""}}, false, 17, {1, 11}, {2, 11}},
    };
    for (const Fall& f : faelle) {
        const PocSendung s = pocSendung(f.meldungen, f.leererBatch);
        ASSERT_EQ(s.worte.size(), f.worte) << f.meldungen[0].text;
        for (std::size_t i = 0; i < s.worte.size(); i += 17) EXPECT_EQ(s.worte[i], kSyncWort);
        ASSERT_EQ(s.meldungen.size(), f.adressen.size());
        for (std::size_t m = 0; m < f.adressen.size(); ++m) {
            EXPECT_EQ(s.meldungen[m].adresse, f.adressen[m]);
            const auto& n = s.meldungen[m].nachricht;
            EXPECT_EQ(n.empty() ? s.meldungen[m].adresse : n.back(), f.letztesNachrichtenwort[m]);
        }
    }
    PocSendung s = pocSendung({{8, 0, ""}});
    s.kippen(1, {1, 32});
    EXPECT_EQ(s.worte[1], pocAdresswort(8, 0) ^ 0x80000001u);
    EXPECT_THROW(s.kippen(1, {33}), std::out_of_range);
}

// Every sign change of the NRZ signal lies within half a sample of its exact
// place k * rate / baud, also thousands of bits in.
TEST(Referenzsignal, BitClockIsExactAtEveryRate) {
    for (int rate : {11025, 22050, 44100})
        for (double baud : {512.0, 1200.0}) {
            Referenzsignal r(rate);
            const PocSendung s = pocSendung({{1234567, 3, "Einsatz Brand Wohnung, Keller, Menschenleben in Gefahr"}});
            r.poc(s, baud, -6);
            const auto& x = r.proben();
            const double bit = rate / baud;
            int kanten = 0;
            for (std::size_t n = 1; n < x.size(); ++n) {
                if ((x[n - 1] > 0) == (x[n] > 0)) continue;
                // The sign changes between n - 1 and n: the edge lies in (n - 1.5, n + 0.5).
                const double k = std::round((static_cast<double>(n) - 0.5) / bit);
                EXPECT_NEAR(static_cast<double>(n) - 0.5, k * bit, 1.0) << rate << " " << baud << " at " << n;
                ++kanten;
            }
            EXPECT_GT(kanten, 1000);
            EXPECT_NEAR(static_cast<double>(x.size()), (576.0 + 32.0 * static_cast<double>(s.worte.size())) * bit, 1.0);
        }
}

TEST(Referenzsignal, LevelsToneFrequencyAndNoise) {
    Referenzsignal r(22050);
    r.stille(0.1);
    const Abschnitt ton = r.ton(1750, 1.0, -20);
    double spitze = 0;
    int nulldurchgaenge = 0;
    for (std::size_t n = ton.anfang + 1; n < ton.ende; ++n) {
        spitze = std::max(spitze, std::abs(r.proben()[n]));
        if ((r.proben()[n - 1] < 0) != (r.proben()[n] < 0)) ++nulldurchgaenge;
    }
    EXPECT_NEAR(spitze, 0.1, 0.001);
    EXPECT_NEAR(nulldurchgaenge, 3500, 2);
    EXPECT_NEAR(r.signalleistung(), 0.005, 1e-4);  // sine: half the square of the peak

    // FFSK: 48 bits are exactly 40 ms.
    Referenzsignal f(44100);
    EXPECT_EQ(f.ffsk("101100111000111100001111000001111100000011111100", 0).ende, 1764u);

    const std::vector<double> vorher = r.proben();
    r.rauschen(10, 7);
    double rauschen = 0;
    for (std::size_t n = 0; n < vorher.size(); ++n) rauschen += std::pow(r.proben()[n] - vorher[n], 2);
    EXPECT_NEAR(10 * std::log10(0.005 / (rauschen / static_cast<double>(vorher.size()))), 10.0, 0.2);
}

}  // namespace
}  // namespace tonwerk::referenz
