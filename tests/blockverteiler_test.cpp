#include "tonwerk/core/blockverteiler.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_plattform.h"

namespace tonwerk {
namespace {

// Keeps what the dispatcher hands on, copying the run tables.
struct Empfaenger : BlockEmpfaenger {
    std::vector<std::string> schritte;
    std::vector<SignalstaerkeType> pegelWerte;
    std::vector<std::array<std::vector<Halbwelle>, 2>> tabellen;
    std::vector<Long> ueberlaeufe;
    std::size_t geschriebeneBytes = 0;

    void pegel(SignalstaerkeType& w) override { schritte.push_back("pegel"), pegelWerte.push_back(w); }
    void blockSchreiben(const std::uint8_t*, std::size_t bytes) override {
        schritte.push_back("schreiben");
        geschriebeneBytes += bytes;
    }
    void dekodieren(const std::array<Laeufe, 2>& l) override {
        schritte.push_back("dekodieren");
        tabellen.push_back({std::vector<Halbwelle>(l[0].begin(), l[0].end()),
                            std::vector<Halbwelle>(l[1].begin(), l[1].end())});
    }
    std::int32_t laengsterLauf() const override { return laengster; }
    void signalEnde(const std::array<bool, 2>& k) override {
        schritte.push_back("signalEnde");
        enden.push_back(k);
    }
    void ueberlauf(Long z) override { schritte.push_back("ueberlauf"), ueberlaeufe.push_back(z); }

    std::int32_t laengster = 1000000;
    std::vector<std::array<bool, 2>> enden;
};

struct Aufbau {
    SimulierterEingang eingang;
    Blockverteiler verteiler;
    Empfaenger empfaenger;
    int frames;
    explicit Aufbau(int f = 100) : frames(f) { verteiler.starten(eingang, 0, 11025, f); }
    void puffer(const std::vector<std::uint8_t>& stereo, Integer fehlerRate = 1) {
        eingang.anhaengen(stereo);
        eingang.fuellen();
        verteiler.tick(eingang, empfaenger, fehlerRate);
    }
};

std::vector<std::uint8_t> konstant(int frames, std::uint8_t l, std::uint8_t r) {
    return test::stereo(std::vector<std::uint8_t>(frames, l), std::vector<std::uint8_t>(frames, r));
}

TEST(Halbwellen, SilenceStoresOneRunThenNothingAndCutsTheOpenRun) {
    Aufbau a(100);
    a.puffer(konstant(100, 128, 128));
    // The initial run (level 0, length 1) ends at the first sample of level 128.
    ASSERT_EQ(a.empfaenger.tabellen[0][0].size(), 1u);
    EXPECT_EQ(a.empfaenger.tabellen[0][0][0].Laenge, 1);
    EXPECT_EQ(a.empfaenger.tabellen[0][0][0].Pegel, 0);
    EXPECT_EQ(a.verteiler.laufZustand(0).Lauflaenge, 100);
    a.puffer(konstant(100, 128, 128));
    EXPECT_TRUE(a.empfaenger.tabellen[1][0].empty());
    EXPECT_EQ(a.verteiler.laufZustand(0).Lauflaenge, 200);
    a.puffer(konstant(100, 128, 128));
    EXPECT_EQ(a.verteiler.laufZustand(0).Lauflaenge, 120);  // cut to 20 at the buffer start
    EXPECT_EQ(a.empfaenger.pegelWerte[2].links, 0);
    EXPECT_EQ(a.empfaenger.pegelWerte[2].rechts, 0);
}

TEST(Halbwellen, AlternatingSamplesWithAndWithoutGlitchAbsorption) {
    std::vector<std::uint8_t> links;
    for (int i = 0; i < 100; ++i) links.push_back(i % 2 ? 128 : 127);
    const auto daten = test::stereo(links, std::vector<std::uint8_t>(100, 128));
    {
        Aufbau a;
        a.puffer(daten, 0);
        const auto& t = a.empfaenger.tabellen[0][0];
        ASSERT_EQ(t.size(), 99u);
        EXPECT_EQ(t[0].Laenge, 2);  // the initial run of level 0 plus the first sample
        for (std::size_t i = 1; i < t.size(); ++i) EXPECT_EQ(t[i].Laenge, 1);
    }
    {
        Aufbau a;
        a.puffer(daten, 1);
        const auto& t = a.empfaenger.tabellen[0][0];
        EXPECT_LE(t.size(), 1u);
        EXPECT_EQ(a.verteiler.laufZustand(0).Lauflaenge + (t.empty() ? 0 : t[0].Laenge), 2 + 50);
    }
}

TEST(Halbwellen, RunCarriedAcrossBuffersEntersTheLaterTable) {
    Aufbau a(10);
    std::vector<std::uint8_t> l1(10, 200), l2{200, 200, 200, 50, 50, 50, 50, 50, 50, 50};
    a.puffer(test::stereo(l1, l1));
    a.puffer(test::stereo(l2, l2));
    const auto& t = a.empfaenger.tabellen[1][0];
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].Laenge, 13);
    EXPECT_EQ(t[0].Pegel, 128);
}

TEST(Pegel, PeakOfTheFirstTenFramesOnly) {
    Aufbau a(20);
    auto daten = konstant(20, 130, 126);
    daten[2 * 4] = 0;       // left frame 4: full scale
    daten[2 * 12 + 1] = 0;  // right frame 12: not looked at
    a.puffer(daten);
    EXPECT_EQ(a.empfaenger.pegelWerte[0].links, 128);
    EXPECT_EQ(a.empfaenger.pegelWerte[0].rechts, 2);
}

TEST(Blockverteiler, StepsInOrderAndOverrunCounted) {
    Aufbau a(10);
    a.eingang.anhaengen(konstant(40, 128, 128));
    a.eingang.fuellen();
    a.eingang.fuellen();  // the next buffer is full before the tick
    a.eingang.fuellen();
    a.verteiler.tick(a.eingang, a.empfaenger, 1);
    a.verteiler.tick(a.eingang, a.empfaenger, 1);
    a.verteiler.tick(a.eingang, a.empfaenger, 1);
    const std::vector<std::string> erwartet{"pegel", "schreiben", "dekodieren", "ueberlauf", "pegel", "schreiben",
                                            "dekodieren", "ueberlauf", "pegel", "schreiben", "dekodieren"};
    EXPECT_EQ(a.empfaenger.schritte, erwartet);
    EXPECT_EQ(a.empfaenger.ueberlaeufe, (std::vector<Long>{1, 2}));
    EXPECT_EQ(a.empfaenger.geschriebeneBytes, 60u);
}

TEST(Blockverteiler, SignalEndIsToldOnceWhenTheOpenRunOutgrowsEveryAcceptedRun) {
    Aufbau a(100);
    a.empfaenger.laengster = 150;
    // Right: a steady swing that never ends. Left: a short swing, then silence.
    std::vector<std::uint8_t> rechts(100);
    for (std::size_t i = 0; i < rechts.size(); ++i) rechts[i] = (i / 5) % 2 ? 200 : 50;
    auto links = std::vector<std::uint8_t>(100, 128);
    std::fill_n(links.begin(), 10, 0);
    const auto stille = std::vector<std::uint8_t>(100, 128);

    a.puffer(test::stereo(links, rechts));
    EXPECT_EQ(a.verteiler.offenerLauf(0), 90);
    a.puffer(test::stereo(stille, rechts));
    EXPECT_EQ(a.verteiler.offenerLauf(0), 190);
    ASSERT_EQ(a.empfaenger.enden.size(), 1u);
    EXPECT_EQ(a.empfaenger.enden[0], (std::array<bool, 2>{true, false}));
    EXPECT_EQ(a.empfaenger.schritte.back(), "signalEnde");  // after the buffer's runs
    a.puffer(test::stereo(stille, rechts));
    a.puffer(test::stereo(stille, rechts));
    EXPECT_EQ(a.empfaenger.enden.size(), 1u);  // the same run: told once
    // The carried run is cut back; its true length is kept.
    EXPECT_EQ(a.verteiler.laufZustand(0).Lauflaenge, 120);
    EXPECT_EQ(a.verteiler.offenerLauf(0), 390);

    // A single-sample glitch is part of the silence; sound, then silence again, is a new end.
    auto glitch = stille;
    glitch[50] = 0;
    a.puffer(test::stereo(glitch, rechts));
    EXPECT_EQ(a.empfaenger.enden.size(), 1u);
    a.puffer(test::stereo(links, rechts));
    a.puffer(test::stereo(stille, rechts));
    ASSERT_EQ(a.empfaenger.enden.size(), 2u);
    EXPECT_EQ(a.empfaenger.enden[1], (std::array<bool, 2>{true, false}));
}

TEST(Blockverteiler, TickWithoutFilledBufferDoesNothing) {
    Aufbau a(10);
    a.verteiler.tick(a.eingang, a.empfaenger, 1);
    EXPECT_TRUE(a.empfaenger.schritte.empty());
}

TEST(Blockverteiler, OversizedOrZeroBufferSizeIsClampedToTheCaptureMemory) {
    for (Long groesse : {Long{0}, Long{-5}, Long{20000}, Long{1000000}}) {
        SimulierterEingang eingang;
        Blockverteiler v;
        Empfaenger e;
        v.starten(eingang, 0, 44100, groesse);
        const int frames = nutzbarePufferFrames(groesse);
        eingang.anhaengen(konstant(frames, 60, 200));
        eingang.fuellen();
        v.tick(eingang, e, 1);
        EXPECT_EQ(e.geschriebeneBytes, 2u * static_cast<unsigned>(frames)) << groesse;
    }
    EXPECT_EQ(nutzbarePufferFrames(20000), 11025);
    EXPECT_EQ(nutzbarePufferFrames(0), 1);
}

TEST(Blockverteiler, ControlKeepsHostsBufferSizeButCapturesWithinMemory) {
    test::TestKontrolle t;
    t.fw.RecordPufferSize(50000);
    EXPECT_EQ(t.fw.RecordPufferSize(), 50000);
    t.fw.SoundStart();
    std::vector<std::uint8_t> l(30000), r(30000, 128);
    for (std::size_t i = 0; i < l.size(); ++i) l[i] = (i / 3) % 2 ? 200 : 50;
    t.einspeisen(test::stereo(l, r));
    ASSERT_EQ(t.ereignisse.pegel.size(), 3u);  // 11025-frame buffers
    EXPECT_EQ(t.ereignisse.pegel[0].links, 78);
}

}  // namespace
}  // namespace tonwerk
