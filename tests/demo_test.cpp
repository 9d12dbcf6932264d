// The demonstration's building blocks: every transmission arrives exactly once
// at each capture rate, and the tally tells missing, repeated and stray events.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "audioquelle.h"
#include "demo_bilanz.h"
#include "demo_mischung.h"
#include "demo_sendungen.h"

namespace tonwerk::werkzeug {
namespace {

const std::vector<DemoSendung>& sendungen(int baud) {
    static const std::map<int, std::vector<DemoSendung>> alle = {{512, demoSendungen(512)},
                                                                  {1200, demoSendungen(1200)}};
    return alle.at(baud);
}

std::vector<BilanzZeile> rundweg(int rate, int baud, double snr) {
    std::vector<float> mischung = demoMischen(sendungen(baud), rate);
    Rauschen(snr, 7).hinzu(mischung);
    auto quelle = speicherQuelle(nach16Bit(mischung), rate, 2);
    return bilanzieren(sendungen(baud), demoDecodieren(*quelle, demoEmpfaengerEinstellungen(rate, baud)));
}

class DemoRundweg : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(DemoRundweg, EverythingSentArrivesAsOftenAsItWentOnAir) {
    const auto [rate, baud] = GetParam();
    const std::vector<BilanzZeile> bilanz = rundweg(rate, baud, 30);
    for (const BilanzZeile& z : bilanz)
        EXPECT_EQ(z.empfangen, z.gesendet) << (z.kanal ? "rechts " : "links ") << z.art << ": " << z.inhalt;
    EXPECT_EQ(bilanz.size(), sendungen(baud).size());
    EXPECT_TRUE(bilanzStimmt(bilanz));
}

INSTANTIATE_TEST_SUITE_P(Raten, DemoRundweg,
                         ::testing::Values(std::pair{11025, 1200}, std::pair{22050, 1200}, std::pair{44100, 1200},
                                           std::pair{11025, 512}, std::pair{22050, 512}, std::pair{44100, 512}),
                         [](const auto& p) {
                             return std::to_string(p.param.first) + "Hz_" + std::to_string(p.param.second) +
                                    "Baud";
                         });

TEST(DemoSendungen, EveryKindOnBothChannels) {
    for (int kanal = 0; kanal < 2; ++kanal) {
        std::set<std::string> arten;
        std::set<std::string> erwartet;
        int doppelt = 0;
        for (const DemoSendung& s : sendungen(1200)) {
            if (s.kanal != kanal) continue;
            arten.insert(s.art);
            EXPECT_TRUE(erwartet.insert(s.erwartet).second) << "two transmissions share " << s.erwartet;
            EXPECT_FALSE(s.proben.empty());
            doppelt += s.anzahl == 2;
        }
        EXPECT_EQ(arten, (std::set<std::string>{"FMS", "FMS mit Kurztext", "FMS-Folgetelegramm", "ZVEI", "POCSAG 1200",
                                                "Tonruf"}));
        EXPECT_EQ(doppelt, 1) << "one ZVEI sequence sent twice per channel";
        EXPECT_TRUE(erwartet.count("Tonruf I kurz (0)") + erwartet.count("Tonruf I lang (1)") == 1);
        EXPECT_TRUE(erwartet.count("Tonruf II kurz (2)") + erwartet.count("Tonruf II lang (3)") == 1);
    }
}

TEST(DemoMischung, EachChannelPlaysItsTransmissionsOneAfterTheOther) {
    std::vector<DemoSendung> s(3);
    s[0] = {0, "a", "", "", 1, std::vector<std::uint8_t>(100, 200)};
    s[1] = {1, "b", "", "", 1, std::vector<std::uint8_t>(50, 20)};
    s[2] = {0, "c", "", "", 1, std::vector<std::uint8_t>(30, 56)};
    const std::vector<float> m = demoMischen(s, 11025, 0.01);  // no resampling at 11025 Hz
    const auto belegt = [&m](int kanal) {
        std::vector<std::size_t> frames;
        for (std::size_t i = 0; i < m.size() / 2; ++i)
            if (m[2 * i + static_cast<std::size_t>(kanal)] != 0.0f) frames.push_back(i);
        return frames;
    };
    const std::vector<std::size_t> links = belegt(0), rechts = belegt(1);
    ASSERT_EQ(links.size(), 130u);
    ASSERT_EQ(rechts.size(), 50u);
    const std::size_t a = links.front(), pause = 110;  // 0.01 s at 11025 Hz
    EXPECT_EQ(links[99], a + 99);
    EXPECT_EQ(links[100], a + 100 + pause);
    EXPECT_FLOAT_EQ(m[2 * a], 72.0f / 128);
    EXPECT_FLOAT_EQ(m[2 * links[100]], -72.0f / 128);
    EXPECT_GT(rechts.front(), a) << "the right channel starts later";
    EXPECT_GE(m.size() / 2, links.back() + 1);
}

TEST(DemoMischung, SixteenBitsClipAtFullScale) {
    const std::vector<float> f = {0.0f, 0.5f, -1.0f, 1.5f, -3.0f};
    EXPECT_EQ(nach16Bit(f), (std::vector<std::int16_t>{0, 16384, -32768, 32767, -32768}));
}

TEST(DemoBilanz, TellsMissingRepeatedAndStrayEvents) {
    std::vector<DemoSendung> s(3);
    s[0] = {0, "ZVEI", "11234", "ZVEI 11234", 1, {}};
    s[1] = {0, "ZVEI", "22335 doppelt", "ZVEI 22335", 2, {}};
    s[2] = {1, "ZVEI", "11234", "ZVEI 11234", 1, {}};
    const std::vector<Empfang> genau = {
        {0, "ZVEI", "ZVEI 22335"}, {1, "ZVEI", "ZVEI 11234"}, {0, "ZVEI", "ZVEI 11234"}, {0, "ZVEI", "ZVEI 22335"}};
    EXPECT_TRUE(bilanzStimmt(bilanzieren(s, genau)));

    // The right channel's sequence heard on the left instead, the double one only once.
    const std::vector<Empfang> falsch = {{0, "ZVEI", "ZVEI 11234"}, {0, "ZVEI", "ZVEI 11234"}, {0, "ZVEI", "ZVEI 22335"}};
    const std::vector<BilanzZeile> b = bilanzieren(s, falsch);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0].empfangen, 2);
    EXPECT_EQ(b[1].empfangen, 1);
    EXPECT_EQ(b[2].empfangen, 0);
    EXPECT_FALSE(bilanzStimmt(b));

    const std::vector<Empfang> fremd = {{0, "ZVEI", "ZVEI 11234"}, {0, "ZVEI", "ZVEI 22335"},
                                        {0, "ZVEI", "ZVEI 22335"}, {1, "ZVEI", "ZVEI 11234"},
                                        {1, "Tonruf", "Tonruf I kurz (0)"}};
    const std::vector<BilanzZeile> c = bilanzieren(s, fremd);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[3].gesendet, 0);
    EXPECT_EQ(c[3].inhalt, "Tonruf I kurz (0)");
    EXPECT_FALSE(bilanzStimmt(c));
}

TEST(DemoBilanz, ReceivedPaddingDoesNotCount) {
    FmsTlgType gesendet, empfangen;
    gesendet.Kennung = empfangen.Kennung = "6A1B2345";
    gesendet.Status = empfangen.Status = 10;
    gesendet.iskurztext = empfangen.iskurztext = Wahr;
    gesendet.Text = "Grüße";
    empfangen.Text = "Grüße  ";
    EXPECT_EQ(EmpfangsSchluessel(gesendet), EmpfangsSchluessel(empfangen));
    empfangen.Text = "Grüßen ";
    EXPECT_NE(EmpfangsSchluessel(gesendet), EmpfangsSchluessel(empfangen));

    POCType p, q;
    p.RIC = q.RIC = 8;
    p.Text = "Test";
    q.Text = "Test[NULL][NULL]";
    EXPECT_EQ(EmpfangsSchluessel(p), EmpfangsSchluessel(q));
    q.Funktion = 2;
    EXPECT_NE(EmpfangsSchluessel(p), EmpfangsSchluessel(q));
}

}  // namespace
}  // namespace tonwerk::werkzeug
