#include "tonwerk/platform/alsa_eingang.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "alsa_testumgebung.h"
#include "test_plattform.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/simulierter_anschluss.h"

namespace tonwerk {
namespace {

constexpr std::size_t kBytes = 2 * 5512;

std::vector<std::uint8_t> muster(std::size_t bytes) {
    std::vector<std::uint8_t> v(bytes);
    for (std::size_t i = 0; i < bytes; ++i) v[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xff);
    return v;
}

std::int32_t indexVon(AlsaEingang& e, const std::string& gesucht) {
    for (std::int32_t i = 0; i < e.geraeteAnzahl(); ++i) {
        std::string name;
        std::int32_t formate = 0;
        if (e.geraeteInfo(i, name, formate) == 0 && name == gesucht) return i;
    }
    return -1;
}

class AlsaEingangTest : public ::testing::Test {
protected:
    test::AlsaTestumgebung alsa;
};

TEST_F(AlsaEingangTest, ListsCaptureDevicesWithDescriptionAndFormats) {
    AlsaEingang e;
    ASSERT_GE(e.geraeteAnzahl(), 2);
    EXPECT_EQ(e.pcmName(0), "default");
    std::int32_t index = indexVon(e, "Tonwerk Testeingang");
    ASSERT_GT(index, 0);
    EXPECT_EQ(e.pcmName(index), "tonwerk_ein");

    std::string name;
    std::int32_t formate = 0;
    ASSERT_EQ(e.geraeteInfo(index, name, formate), 0);
    EXPECT_EQ(formate, 0xFFF) << "the null device takes every classic format";
}

TEST_F(AlsaEingangTest, UnknownDeviceLeavesOutputsUnchanged) {
    AlsaEingang e;
    std::string name = "vorher";
    std::int32_t formate = 42;
    EXPECT_NE(e.geraeteInfo(e.geraeteAnzahl(), name, formate), 0);
    EXPECT_NE(e.geraeteInfo(-1, name, formate), 0);
    EXPECT_EQ(name, "vorher");
    EXPECT_EQ(formate, 42);
    const auto fehler = e.oeffnen(99, 11025);
    EXPECT_NE(fehler, 0);
    std::uint8_t puffer[4];
    EXPECT_NE(e.vorbereiten(0, puffer, sizeof puffer), 0);
    EXPECT_NE(e.einreihen(0), 0);
    EXPECT_EQ(e.starten(), fehler) << "the start reports why the device did not open";
    EXPECT_NE(e.schliessen(), 0);
}

TEST_F(AlsaEingangTest, FillsQueuedBuffersInOrderAndRefillsRequeuedOnes) {
    const auto daten = muster(6 * kBytes);
    alsa.schreibeEingabe(daten);
    AlsaEingang e({"tonwerk_ein"});
    ASSERT_EQ(e.oeffnen(0, 11025), 0);

    std::vector<std::vector<std::uint8_t>> puffer(4, std::vector<std::uint8_t>(kBytes + 3, 0xEE));
    for (int b = 0; b < 4; ++b) ASSERT_EQ(e.vorbereiten(b, puffer[b].data(), kBytes), 0);
    // Queued out of order on purpose: the device fills in queue order.
    for (int b : {2, 0, 3}) ASSERT_EQ(e.einreihen(b), 0);
    EXPECT_FALSE(e.fertig(2));
    ASSERT_EQ(e.starten(), 0);

    ASSERT_TRUE(e.warteAufGefuellt(3));
    for (int b : {2, 0, 3}) EXPECT_TRUE(e.fertig(b)) << "buffer " << b;
    EXPECT_FALSE(e.fertig(1)) << "a buffer never queued is never filled";
    auto abschnitt = [&](std::size_t k) {
        return std::vector<std::uint8_t>(daten.begin() + k * kBytes, daten.begin() + (k + 1) * kBytes);
    };
    auto nutzdaten = [&](int b) { return std::vector<std::uint8_t>(puffer[b].begin(), puffer[b].begin() + kBytes); };
    EXPECT_EQ(nutzdaten(2), abschnitt(0));
    EXPECT_EQ(nutzdaten(0), abschnitt(1));
    EXPECT_EQ(nutzdaten(3), abschnitt(2));
    EXPECT_EQ(puffer[2][kBytes], 0xEE) << "nothing written past the buffer's length";

    // Held, the reader cannot fill buffer 2 before it is queued the second time.
    e.leserHalten(true);
    ASSERT_EQ(e.einreihen(1), 0);
    ASSERT_EQ(e.einreihen(2), 0);
    EXPECT_NE(e.einreihen(2), 0) << "a queued buffer cannot be queued twice";
    EXPECT_FALSE(e.fertig(1));
    e.leserHalten(false);
    ASSERT_TRUE(e.warteAufGefuellt(5));
    EXPECT_TRUE(e.fertig(1));
    EXPECT_TRUE(e.fertig(2));
    EXPECT_EQ(nutzdaten(1), abschnitt(3));
    EXPECT_EQ(nutzdaten(2), abschnitt(4));
    EXPECT_EQ(e.schliessen(), 0);
}

TEST_F(AlsaEingangTest, ResetReturnsQueuedBuffersAndStopsFilling) {
    alsa.schreibeEingabe(muster(2 * kBytes));
    AlsaEingang e({"tonwerk_ein"});
    ASSERT_EQ(e.oeffnen(0, 22050), 0);
    std::vector<std::uint8_t> puffer(kBytes);
    ASSERT_EQ(e.vorbereiten(0, puffer.data(), puffer.size()), 0);
    ASSERT_EQ(e.einreihen(0), 0);
    EXPECT_FALSE(e.fertig(0));
    // Not started: nothing is filled, the reset hands the buffer back as done.
    ASSERT_EQ(e.zuruecksetzen(), 0);
    EXPECT_TRUE(e.fertig(0));

    // The device can be started again after a reset.
    ASSERT_EQ(e.einreihen(0), 0);
    ASSERT_EQ(e.starten(), 0);
    ASSERT_TRUE(e.warteAufGefuellt(1));
    EXPECT_TRUE(e.fertig(0));
    EXPECT_EQ(e.schliessen(), 0);
    EXPECT_NE(e.einreihen(0), 0) << "a closed device takes no buffers";
}

TEST_F(AlsaEingangTest, ControlMeasuresAndRecordsWhatTheDeviceCaptured) {
    // Three buffers: the first peaks at 0 on the left, the second at 255 on the
    // right, the third is silent.
    std::vector<std::uint8_t> daten(3 * kBytes, 128);
    daten[4] = 0;
    daten[kBytes + 19] = 255;
    daten[kBytes + 40] = 0;  // beyond the first ten frames: not measured
    alsa.schreibeEingabe(daten);

    test::Mitschrift ereignisse;  // outlives the control that reports to it
    Bestueckung<AlsaEingang, test::StummeAusgabe, SimulierterAnschluss> k(std::in_place,
                                                                           std::vector<std::string>{"tonwerk_ein"});
    Funkwandler& fw = k.fw;
    fw.setListener(&ereignisse);
    std::string name;
    Long formate = 0;
    ASSERT_EQ(fw.GetSoundkarteInfo(0, name, formate), 0);
    EXPECT_EQ(name, "tonwerk_ein");
    const auto wav = (alsa.verzeichnis() / "mitschnitt.wav").string();
    ASSERT_EQ(fw.FunkAufzeichnen(60, wav), 0);
    ASSERT_EQ(fw.SoundStart(), 0);
    // The first three buffers are done once three have been filled (queue order).
    ASSERT_TRUE(k.eingang.warteAufGefuellt(3));
    for (int i = 0; i < 3; ++i) k.timer1.tick();
    fw.Soundstop();
    ASSERT_EQ(ereignisse.pegel.size(), 3u);
    EXPECT_EQ(ereignisse.pegel[0].links, 128);
    EXPECT_EQ(ereignisse.pegel[0].rechts, 0);
    EXPECT_EQ(ereignisse.pegel[1].links, 0);
    EXPECT_EQ(ereignisse.pegel[1].rechts, 127);
    EXPECT_EQ(ereignisse.pegel[2].links, 0);
    EXPECT_EQ(ereignisse.pegel[2].rechts, 0);

    std::ifstream f(wav, std::ios::binary);
    std::vector<std::uint8_t> aufgenommen{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    ASSERT_GE(aufgenommen.size(), 44 + daten.size());
    EXPECT_TRUE(std::equal(daten.begin(), daten.end(), aufgenommen.begin() + 44));
}

}  // namespace
}  // namespace tonwerk
