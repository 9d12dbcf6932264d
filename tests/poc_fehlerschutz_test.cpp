// POCSAG error control (PocFehlerkorrektur): the correction itself against every
// one-, two- and three-bit error, and the control on audio of the reference
// generator with chosen bits flipped, through both reception paths. One wrong
// address bit must never alarm another pager; off, the classic reading stays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "poc_testsignal.h"
#include "referenz/referenzsignal.h"
#include "test_plattform.h"
#include "tonwerk/formats/poc_korrektur.h"

namespace tonwerk {
namespace {

using referenz::PocMeldung;
using referenz::PocSendung;
using referenz::Referenzsignal;

// 1200 bit/s at 22050 Hz between silences, with one bit inserted at or
// removed from position `stelle` of `bits`: a slicer that slipped.
std::vector<std::uint8_t> verrutschtesAudio(std::string bits, std::size_t stelle, bool einfuegen) {
    if (einfuegen) {
        bits.insert(stelle, 1, bits[stelle] == '0' ? '1' : '0');
    } else {
        bits.erase(stelle, 1);
    }
    test::NrzParameter p;
    p.rate = 22050;
    p.baud = 1200;
    auto audio = test::konstant(2205, 128);
    test::anhaengen(audio, test::nrzAudio(bits, p));
    test::anhaengen(audio, test::konstant(22050, 128));
    return audio;
}

TEST(PocKorrektur, EveryOneAndTwoBitErrorIsCorrectedAndEveryThreeBitErrorSeen) {
    for (std::uint32_t wort : {referenz::kSyncWort, referenz::kIdleWort, referenz::pocAdresswort(1234567, 3),
                               referenz::pocTextWorte("Brand").back()}) {
        EXPECT_EQ(PocKorrigieren(wort).wort, wort);
        EXPECT_EQ(PocKorrigieren(wort).fehler, 0);
        for (int i = 0; i < 32; ++i) {
            const PocPruefung eins = PocKorrigieren(wort ^ (1u << i));
            ASSERT_EQ(eins.wort, wort) << i;
            ASSERT_EQ(eins.fehler, 1) << i;
            for (int j = i + 1; j < 32; ++j) {
                const PocPruefung zwei = PocKorrigieren(wort ^ (1u << i) ^ (1u << j));
                ASSERT_EQ(zwei.wort, wort) << i << " " << j;
                ASSERT_EQ(zwei.fehler, 2) << i << " " << j;
                for (int k = j + 1; k < 32; ++k) {
                    const std::uint32_t drei = wort ^ (1u << i) ^ (1u << j) ^ (1u << k);
                    const PocPruefung p = PocKorrigieren(drei);
                    ASSERT_EQ(p.fehler, kPocNichtKorrigierbar) << i << " " << j << " " << k;
                    ASSERT_EQ(p.wort, drei);
                }
            }
        }
    }
}

struct Empfang {
    std::vector<POCType> poc;
    std::size_t fms = 0;
};

// One transmission of the reference generator at -6 dBFS between silences,
// decoded by a control at `rate` and `baud`.
Empfang empfangen(const PocSendung& s, int rate, int baud, bool filter, bool korrektur = true, double dbfs = -6,
                  double snrDb = 0) {
    Referenzsignal r(rate);
    r.stille(0.3);
    r.poc(s, baud, dbfs);
    r.stille(1.2);
    if (snrDb > 0) r.rauschen(snrDb, 5);
    test::TestKontrolle t;
    t.fw.Samplerates(rate == 22050 ? 1 : rate == 44100 ? 2 : 0);
    t.fw.PocBaudRates(baud == 1200 ? 1 : 0);
    t.fw.Empfangsfilter(filter ? Wahr : Falsch);
    t.fw.PocFehlerkorrektur(korrektur ? Wahr : Falsch);
    EXPECT_EQ(t.fw.SoundStart(), 0);
    t.einspeisen(test::stereo(r.alsBytes(), std::vector<std::uint8_t>{}));
    return {t.ereignisse.poc, t.ereignisse.fms.size()};
}

std::string ohneNull(std::string text) {
    while (text.size() >= 6 && text.compare(text.size() - 6, 6, "[NULL]") == 0) text.resize(text.size() - 6);
    return text;
}

constexpr std::uint32_t kRic = 1234567;
const std::string kText = "Einsatz Brand Wohnung";  // 147 bits: 8 message codewords

struct Kippfall {
    const char* name;
    int wort;                   // -1 the address codeword, else the message codeword of that number
    std::vector<int> bits;      // to flip, 1 = first on air
    int wort2 = -2;             // a second codeword to flip, or none
    std::vector<int> bits2 = {};
    bool gemeldet = true;
    bool textRichtig = true;
    Long korrigiert = 0;
    Long fehlerhaft = 0;
};

const Kippfall kKippfaelle[] = {
    {"ungestoert", -1, {}},
    {"Adresse 1 Bit", -1, {4}, -2, {}, true, true, 1},
    {"Adresse 2 Bit: Flag und Parität", -1, {1, 32}, -2, {}, true, true, 1},
    {"Adresse 2 Bit: Adresse und Prüfbit", -1, {9, 25}, -2, {}, true, true, 1},
    {"Adresse 3 Bit", -1, {2, 9, 17}, -2, {}, false},
    {"Nachricht 1 Bit", 0, {12}, -2, {}, true, true, 1},
    {"Nachricht 2 Bit, zwei Wörter", 2, {1, 20}, 7, {5, 31}, true, true, 2},
    {"Adresse und Nachricht je 2 Bit", -1, {3, 4}, 5, {22, 23}, true, true, 2},
    {"Nachricht 3 Bit", 3, {5, 10, 15}, -2, {}, true, false, 0, 1},
    {"Nachricht 3 und 1 Bit", 3, {5, 10, 15}, 4, {2}, true, false, 1, 1},
};

PocSendung gekippt(const Kippfall& f) {
    PocSendung s = referenz::pocSendung({{kRic, 3, kText}});
    const auto& lage = s.meldungen[0];
    const auto index = [&](int wort) { return wort < 0 ? lage.adresse : lage.nachricht.at(static_cast<std::size_t>(wort)); };
    for (int b : f.bits) s.kippen(index(f.wort), {b});
    if (f.wort2 != -2)
        for (int b : f.bits2) s.kippen(index(f.wort2), {b});
    return s;
}

TEST(PocFehlerschutz, FlippedBitsInBothReceptionPaths) {
    struct Strecke {
        int rate, baud;
        bool filter;
    };
    for (const Strecke& st : {Strecke{11025, 512, false}, Strecke{22050, 1200, false}, Strecke{22050, 512, true},
                              Strecke{44100, 1200, true}})
        for (const Kippfall& f : kKippfaelle) {
            const std::string wo = std::string(f.name) + " bei " + std::to_string(st.rate) + " Hz, " +
                                   std::to_string(st.baud) + " bit/s" + (st.filter ? ", Empfangsfilter" : "");
            const Empfang e = empfangen(gekippt(f), st.rate, st.baud, st.filter);
            EXPECT_EQ(e.fms, 0u) << wo;
            if (!f.gemeldet) {
                EXPECT_TRUE(e.poc.empty()) << wo << ": RIC " << e.poc[0].RIC;
                continue;
            }
            ASSERT_EQ(e.poc.size(), 1u) << wo;
            const POCType& m = e.poc[0];
            EXPECT_EQ(m.RIC, static_cast<Long>(kRic)) << wo;
            EXPECT_EQ(m.Funktion, 4) << wo;
            EXPECT_EQ(ohneNull(m.Text) == kText, f.textRichtig) << wo << ": " << m.Text;
            EXPECT_EQ(m.TextBin.size(), 160u) << wo;
            EXPECT_EQ(m.KorrigierteWorte, f.korrigiert) << wo;
            EXPECT_EQ(m.FehlerhafteWorte, f.fehlerhaft) << wo;
        }
}

// Off, codewords are read as they come: the classic control's results, wrong RIC included.
TEST(PocFehlerschutz, OffReadsCodewordsUnchecked) {
    PocSendung s = referenz::pocSendung({{kRic, 3, kText}});
    s.kippen(s.meldungen[0].adresse, {4});  // RIC bit 18
    s.kippen(s.meldungen[0].nachricht[1], {2});
    for (bool filter : {false, true}) {
        const Empfang e = empfangen(s, 22050, 1200, filter, false);
        ASSERT_EQ(e.poc.size(), 1u) << filter;
        EXPECT_EQ(e.poc[0].RIC, 1496711) << filter;
        EXPECT_NE(ohneNull(e.poc[0].Text), kText) << filter;
        EXPECT_EQ(e.poc[0].KorrigierteWorte, 0) << filter;
        EXPECT_EQ(e.poc[0].FehlerhafteWorte, 0) << filter;
    }
    test::TestKontrolle t;
    EXPECT_EQ(t.fw.PocFehlerkorrektur(), Wahr);
    EXPECT_EQ(t.fw.lesen("PocFehlerkorrektur"), Wert{Long{Wahr}});
    t.fw.schreiben("PocFehlerkorrektur", Wert{Long{0}});
    EXPECT_EQ(t.fw.PocFehlerkorrektur(), Falsch);
}

// The synchronisation codeword of the second batch with two wrong bits: with
// error control the message that runs across it stays whole; without, the
// reception ends there and the message is cut.
TEST(PocFehlerschutz, SyncCodewordWithTwoWrongBits) {
    PocSendung s = referenz::pocSendung({{kRic, 3, kText}});
    ASSERT_EQ(s.worte[17], referenz::kSyncWort);
    s.kippen(17, {3, 30});
    const Empfang an = empfangen(s, 11025, 1200, false);
    ASSERT_EQ(an.poc.size(), 1u);
    EXPECT_EQ(ohneNull(an.poc[0].Text), kText);
    EXPECT_EQ(an.poc[0].KorrigierteWorte, 0);  // the sync belongs to no message
    const Empfang aus = empfangen(s, 11025, 1200, false, false);
    ASSERT_EQ(aus.poc.size(), 1u);
    EXPECT_EQ(aus.poc[0].TextBin.size(), 20u);
}

// A bit lost or gained inside the second batch's synchronisation codeword, the
// message running across it (noise at 10 dB does that): with error control the
// batch after it is read one bit earlier or later and the text stays whole, in
// both reception paths, rather than being reported cut off at the batch bound.
// A slip in the first third looks like the whole word shifted (the codeword
// before it may be misread: reception ends, see ASlippedBitInventsNoAddress);
// one in the last few bits corrects to the sync codeword.
TEST(PocFehlerschutz, SlippedBitInsideTheSyncCodeword) {
    const PocSendung s = referenz::pocSendung({{kRic, 3, kText}});
    ASSERT_EQ(s.worte[17], referenz::kSyncWort);
    ASSERT_GT(s.meldungen[0].nachricht.back(), 17u);
    std::string bits = test::pocPraambel(576);
    for (std::uint32_t w : s.worte) bits += PocWortAlsBits(w);
    for (int versatz : {11, 18, 25})
        for (bool einfuegen : {true, false}) {
            const auto audio = verrutschtesAudio(bits, 576 + 32 * 17 + static_cast<std::size_t>(versatz), einfuegen);
            for (bool filter : {false, true}) {
                const std::string wo = "Bit " + std::to_string(versatz) + (einfuegen ? " dazu" : " weg") +
                                       (filter ? ", Empfangsfilter" : "");
                test::TestKontrolle t;
                t.fw.Samplerates(1);
                t.fw.PocBaudRates(1);
                t.fw.Empfangsfilter(filter ? Wahr : Falsch);
                ASSERT_EQ(t.fw.SoundStart(), 0);
                t.einspeisen(test::stereo(audio, std::vector<std::uint8_t>{}));
                ASSERT_EQ(t.ereignisse.poc.size(), 1u) << wo;
                const POCType& m = t.ereignisse.poc[0];
                EXPECT_EQ(m.RIC, static_cast<Long>(kRic)) << wo;
                EXPECT_EQ(ohneNull(m.Text), kText) << wo;
                EXPECT_EQ(m.KorrigierteWorte, 0) << wo;
                EXPECT_EQ(m.FehlerhafteWorte, 0) << wo;
            }
        }
}

// A transmitter that drops its carrier right after the batch in which the message
// ended: the last codeword of the batch is the last of the message. Behind the
// filter the level normalisation holds the transmission's mean for a while after
// it, so the carrier test sees neither silence nor noise and the last codeword's
// final bits run on into the silence as one long run.
TEST(PocFehlerschutz, MessageEndingAtTheBatchEndDecodesWhole) {
    const std::vector<PocMeldung> faelle = {
        {1234565, 0, "Keller Brand"}, {1268450, 0, "z/rhub,t8ZADAPtUAA-2cAvunc1r/7C"}, {1178038, 1, ".WQxJj.1"}};
    for (const PocMeldung& m : faelle) {
        const PocSendung s = referenz::pocSendung({m});
        ASSERT_EQ(s.worte.size(), 17u);
        ASSERT_EQ(s.meldungen[0].nachricht.back(), 16u);
        for (int rate : {11025, 22050, 44100})
            for (int baud : {512, 1200})
                for (bool filter : {false, true})
                    for (double snr : {0.0, 30.0}) {  // 0: no noise
                        const std::string wo = m.text + " bei " + std::to_string(rate) + " Hz, " + std::to_string(baud) +
                                               " bit/s, " + std::to_string(static_cast<int>(snr)) + " dB" +
                                               (filter ? ", Empfangsfilter" : "");
                        const Empfang e = empfangen(s, rate, baud, filter, true, -6, snr);
                        ASSERT_EQ(e.poc.size(), 1u) << wo;
                        EXPECT_EQ(e.poc[0].RIC, static_cast<Long>(m.ric)) << wo;
                        EXPECT_EQ(ohneNull(e.poc[0].Text), m.text) << wo;
                        EXPECT_EQ(e.poc[0].FehlerhafteWorte, 0) << wo;
                    }
    }
}

// A bit gained or lost inside a batch shifts every later codeword, and each
// shifted codeword lies within two bits of another one: corrected blindly, the
// shifted message and idle codewords read as addresses never sent. Whatever
// the slip, every message reported carries a RIC that was sent.
TEST(PocFehlerschutz, ASlippedBitInventsNoAddress) {
    const std::vector<PocMeldung> meldungen = {{kRic, 3, "Einsatz Brand Wohnung Keller, Menschenleben in Gefahr"},
                                               {8, 0, "Probealarm Sirene"}};
    const PocSendung s = referenz::pocSendung(meldungen);
    std::string bits = test::pocPraambel(576);
    for (std::uint32_t w : s.worte) bits += PocWortAlsBits(w);
    int gemeldet = 0;
    for (std::size_t wort = s.meldungen[0].adresse + 1; wort < s.worte.size(); wort += 3)
        for (int versatz : {3, 17, 30})
            for (bool einfuegen : {true, false}) {
                test::PocEmpfaenger empfaenger(test::einstellungenFuer(22050, 1200));
                const auto audio =
                    verrutschtesAudio(bits, 576 + 32 * wort + static_cast<std::size_t>(versatz), einfuegen);
                empfaenger.zufuehrenMono(audio);
                for (const POCType& m : empfaenger.meldungen) {
                    EXPECT_TRUE(m.RIC == static_cast<Long>(kRic) || m.RIC == 8)
                        << "Wort " << wort << " Bit " << versatz << (einfuegen ? " dazu" : " weg") << ": RIC " << m.RIC;
                    ++gemeldet;
                }
            }
    EXPECT_GT(gemeldet, 0);  // messages before the slip still come through
}

// From full scale down to peaks of -50 dBFS, with noise 20 dB below, the path
// without the filter reads every message at every rate and bit rate.
TEST(PocFehlerschutz, QuietLevelsWithoutTheFilter) {
    const PocSendung s = referenz::pocSendung({{kRic, 3, kText}, {8, 1, "Probealarm"}});
    for (double dbfs : {0.0, -20.0, -35.0, -50.0})
        for (int rate : {11025, 22050, 44100})
            for (int baud : {512, 1200}) {
                const Empfang e = empfangen(s, rate, baud, false, true, dbfs, 20);
                const std::string wo = std::to_string(dbfs) + " dBFS " + std::to_string(rate) + " " + std::to_string(baud);
                ASSERT_EQ(e.poc.size(), 2u) << wo;
                EXPECT_EQ(e.poc[0].RIC, static_cast<Long>(kRic)) << wo;
                EXPECT_EQ(ohneNull(e.poc[0].Text), kText) << wo;
                EXPECT_EQ(e.poc[1].RIC, 8) << wo;
                EXPECT_EQ(e.poc[1].Funktion, 2) << wo;
                EXPECT_EQ(ohneNull(e.poc[1].Text), "Probealarm") << wo;
                EXPECT_EQ(e.fms, 0u) << wo;
            }
}

}  // namespace
}  // namespace tonwerk
