// ZVEI sequences and tone calls through the whole control: simulated capture,
// dispatcher, decoders and the events the host receives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_plattform.h"
#include "tests/aufnahmen.h"
#include "tests/tonfolge_audio.h"
#include "tonwerk/formats/zvei_tontabelle.h"

namespace tonwerk {
namespace {

using test::TestKontrolle;

testaudio::Signal zveiFolge(int rate, const std::string& nr) {
    testaudio::Signal s;
    s.rate = rate;
    s.stille(0.3);
    for (char32_t z : ZveiSendefolge(nr)) s.ton(ZveiSendeFrequenz(z), 0.070);
    s.stille(0.3);
    return s;
}

TEST(TonfolgeKontrolle, ChannelSwitchesSelectWhatIsDecoded) {
    TestKontrolle t;
    t.fw.DecLinksZVEI(Falsch);
    t.fw.DecRechtsTonruf(Falsch);
    t.fw.SoundStart();
    testaudio::Signal s = zveiFolge(11025, "24680");
    s.ton(1750, 1.0).rauschpause(0.1, 0.05, 4);
    t.einspeisen(testaudio::stereo(s.x, s.x));
    ASSERT_EQ(t.ereignisse.zvei.size(), 1u);
    EXPECT_EQ(t.ereignisse.zvei[0].Kanal, 1);
    EXPECT_EQ(t.ereignisse.zvei[0].ZVEINr, "24680");
    ASSERT_EQ(t.ereignisse.tonrufA.size(), 1u);
    EXPECT_EQ(t.ereignisse.tonrufA[0].Kanal, 0);
}

TEST(TonfolgeKontrolle, ToneCallRaisesBothEventsLeftBeforeRight) {
    TestKontrolle t;
    t.fw.Samplerates(1);
    t.fw.SoundStart();
    testaudio::Signal s;
    s.rate = 22050;
    s.stille(0.2).ton(2135, 4.0).rauschpause(0.1, 0.05, 2);
    t.einspeisen(testaudio::stereo(s.x, s.x));
    std::vector<std::string> rufe;
    for (const std::string& e : t.ereignisse.reihenfolge)
        if (e.rfind("Tonruf", 0) == 0) rufe.push_back(e);
    EXPECT_EQ(rufe, (std::vector<std::string>{"TonrufDecodierungA", "TonrufDecodierung", "TonrufDecodierungA",
                                              "TonrufDecodierung"}));
    ASSERT_EQ(t.ereignisse.tonrufA.size(), 2u);
    EXPECT_EQ(t.ereignisse.tonrufA[0].Kanal, 0);
    EXPECT_EQ(t.ereignisse.tonrufA[1].Kanal, 1);
    EXPECT_EQ(t.ereignisse.tonrufA[0].tonruf, 3);
    EXPECT_EQ(t.ereignisse.tonruf, (std::vector<Long>{3, 3}));
    EXPECT_TRUE(t.ereignisse.zvei.empty());
}

TEST(TonfolgeKontrolle, DecoderStateSurvivesStopAndStart) {
    // A tone call that spans a Soundstop/SoundStart is still timed as one tone.
    TestKontrolle t;
    t.fw.SoundStart();
    testaudio::Signal s;
    s.stille(0.1).ton(1750, 1.0).rauschpause(0.1, 0.05, 8);
    const std::vector<std::uint8_t> alles = testaudio::stereo(s.x, {});
    const std::size_t teil = 2 * 5512;  // exactly one capture buffer
    t.einspeisen(std::vector<std::uint8_t>(alles.begin(), alles.begin() + static_cast<long>(teil)), false);
    t.fw.Soundstop();
    t.fw.SoundStart();
    t.einspeisen(std::vector<std::uint8_t>(alles.begin() + static_cast<long>(teil), alles.end()));
    EXPECT_EQ(t.ereignisse.tonruf, (std::vector<Long>{0}));
}

TEST(TonfolgeKontrolle, RecordingsGiveTheirEventsAndNothingElse) {
    for (const char* name : {"zvei_11025_snr30", "zvei_22050_snr40", "tonruf_22050_snr40"}) {
        SCOPED_TRACE(name);
        std::vector<std::string> erwarteteZvei;
        for (const auto& ev : test::erwarteteEreignisse(name, "ZVEI")) erwarteteZvei.push_back(ev.at("ZVEINr"));
        std::vector<Long> erwarteteTonrufe;
        for (const auto& ev : test::erwarteteEreignisse(name, "TONRUF")) erwarteteTonrufe.push_back(ev.at("tonruf"));
        EXPECT_EQ(erwarteteZvei.size() + erwarteteTonrufe.size(), 8u);
        const test::WavAufnahme w = test::aufnahme(name);
        TestKontrolle t;
        t.fw.Samplerates(w.rate == 22050 ? 1 : 0);
        t.fw.SoundStart();
        t.einspeisen(w.rahmen);
        std::vector<std::string> zvei;
        for (const ZVEIType& z : t.ereignisse.zvei) {
            EXPECT_EQ(z.Kanal, 0);
            zvei.push_back(z.ZVEINr);
        }
        EXPECT_EQ(zvei, erwarteteZvei);
        EXPECT_EQ(t.ereignisse.tonruf, erwarteteTonrufe);
        EXPECT_EQ(t.ereignisse.tonrufA.size(), erwarteteTonrufe.size());
        EXPECT_TRUE(t.ereignisse.fms.empty());
        EXPECT_TRUE(t.ereignisse.poc.empty());
    }
}

}  // namespace
}  // namespace tonwerk
