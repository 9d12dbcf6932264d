// The control's own POCSAG transmissions fed back through its capture at every
// sample rate, on either channel: each message reported exactly once.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "test_plattform.h"
#include "tonwerk/formats/poc_text.h"
#include "tonwerk/transmit/poc_senden.h"

namespace tonwerk {
namespace {

struct Nachricht {
    Long ric;
    Long funktion;
    std::string text;
};

std::vector<Nachricht> nachrichten() {
    std::string lang;
    const std::string muster = "Brand 3 in der Müllerstraße, Übung für Zug Ä/Ö ";
    while (lang.size() < 400) lang += muster;
    std::vector<Nachricht> n = {
        {8, 0, ""},
        {1234567, 3, "Test"},
        {2097151, 1, "Alarm"},
        {16, 2, lang},  // cut to 255 characters
        {999, 5, "Funktion 5 wird 00"},
    };
    for (Long rahmen = 0; rahmen < 8; ++rahmen) n.push_back({123456 * 8 + rahmen, rahmen % 4, "R" + std::to_string(rahmen)});
    return n;
}

// Text and message bits a receiver shows for a sent text: the packing pads the
// 7-bit characters with zeros to whole codewords.
std::string erwarteteBits(const std::string& text) {
    std::string bits = PocTextBits(text);
    bits.resize((bits.size() + 19) / 20 * 20, '0');
    return bits;
}

// Sample-and-hold from 11025 Hz to the capture rate, as a sound card sampling
// the played two-level audio sees it.
std::vector<std::uint8_t> hochtasten(const std::vector<std::uint8_t>& proben, int faktor) {
    std::vector<std::uint8_t> aus;
    aus.reserve(proben.size() * static_cast<std::size_t>(faktor));
    for (std::uint8_t p : proben) aus.insert(aus.end(), static_cast<std::size_t>(faktor), p);
    return aus;
}

class PocRundlauf : public ::testing::TestWithParam<std::tuple<Long, Long, Integer>> {};

TEST_P(PocRundlauf, EveryMessageExactlyOnce) {
    const auto [sampleratesWert, baudWert, kanal] = GetParam();
    test::TestKontrolle t;
    t.fw.Samplerates(sampleratesWert);
    t.fw.PocBaudRates(static_cast<Integer>(baudWert));
    ASSERT_EQ(t.fw.SoundStart(), 0);
    const int faktor = sampleratesWert == 2 ? 4 : sampleratesWert == 1 ? 2 : 1;

    const auto liste = nachrichten();
    std::vector<std::uint8_t> mono;
    for (const auto& n : liste) {
        const auto proben = PocSendeProben(PocSendeauftrag{baudWert, n.ric, n.funktion, n.text}, t.fw.einstellungen());
        mono.insert(mono.end(), proben.begin(), proben.end());
    }
    mono = hochtasten(mono, faktor);
    t.einspeisen(kanal == 0 ? test::stereo(mono, {}) : test::stereo({}, mono));

    const auto& poc = t.ereignisse.poc;
    ASSERT_EQ(poc.size(), liste.size());
    for (std::size_t i = 0; i < liste.size(); ++i) {
        const std::string bits = erwarteteBits(liste[i].text);
        EXPECT_EQ(poc[i].Kanal, kanal);
        EXPECT_EQ(poc[i].RIC, liste[i].ric);
        EXPECT_EQ(poc[i].Funktion, liste[i].funktion >= 0 && liste[i].funktion <= 3 ? liste[i].funktion + 1 : 1);
        EXPECT_EQ(poc[i].TextBin, bits);
        EXPECT_EQ(poc[i].Text, PocAlphaText(bits));
    }
    // The text reads back unchanged, followed by the padding.
    EXPECT_EQ(poc[1].Text, "Test[NULL]");
    EXPECT_EQ(poc[3].Text.rfind("Brand 3 in der Müllerstraße, Übung für Zug Ä/Ö Brand", 0), 0u);
    EXPECT_EQ(poc[3].TextBin.size(), 1800u);
}

INSTANTIATE_TEST_SUITE_P(RatenKanaele, PocRundlauf,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(0, 1),
                                            ::testing::Values(Integer{0}, Integer{1})));

TEST(PocRundlaufKontrolle, OffSwitchAndWrongBaudDecodeNothing) {
    const auto proben = PocSendeProben(PocSendeauftrag{1, 8, 0, "x"}, Einstellungen{});
    test::TestKontrolle t;
    t.fw.PocBaudRates(1);
    t.fw.DecLinksPOC(Falsch);
    ASSERT_EQ(t.fw.SoundStart(), 0);
    t.einspeisen(test::stereo(proben, proben));
    ASSERT_EQ(t.ereignisse.poc.size(), 1u);
    EXPECT_EQ(t.ereignisse.poc[0].Kanal, 1);
    t.fw.PocBaudRates(0);
    t.einspeisen(test::stereo(proben, proben));
    EXPECT_EQ(t.ereignisse.poc.size(), 1u);
}

}  // namespace
}  // namespace tonwerk
