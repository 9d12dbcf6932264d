// The control's own POCSAG transmissions fed back through its capture at every
// sample rate, on either channel: each message reported exactly once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "test_plattform.h"
#include "tonwerk/formats/poc_text.h"

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

namespace fs = std::filesystem;

// A control whose transmit files go to a directory of its own.
class PocKontrolle {
public:
    PocKontrolle() {
        verzeichnis_ = fs::temp_directory_path() /
                       ("tonwerk_poc_" + std::to_string(::getpid()) + "_" + std::to_string(zaehler_++));
        fs::create_directories(verzeichnis_);
        t.fw.Sendeverzeichnis(verzeichnis_);
    }
    ~PocKontrolle() { fs::remove_all(verzeichnis_); }

    // Sends through the control and returns the transmit file.
    std::vector<std::uint8_t> senden(Long baud, const Nachricht& n) {
        EXPECT_EQ(t.fw.POCSenden(baud, n.ric, n.funktion, n.text, 0, 0), 0);
        EXPECT_EQ(t.ausgabe.gespielt.back(), verzeichnis_ / "pocaus.wav");
        std::ifstream d(verzeichnis_ / "pocaus.wav", std::ios::binary);
        return {std::istreambuf_iterator<char>(d), std::istreambuf_iterator<char>()};
    }

    test::TestKontrolle t;

private:
    fs::path verzeichnis_;
    static inline int zaehler_ = 0;
};

std::uint32_t le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

TEST(PocSendedatei, HeaderAndSamplesOfRic8) {
    PocKontrolle k;
    const auto datei = k.senden(1, {8, 0, ""});
    ASSERT_EQ(datei.size(), 44u + 16879u);
    EXPECT_EQ(std::string(datei.begin(), datei.begin() + 4), "RIFF");
    EXPECT_EQ(le32(datei, 4), 16879u + 36u);
    EXPECT_EQ(le32(datei, 24), 11025u);
    EXPECT_EQ(le32(datei, 40), 16879u);
    EXPECT_EQ(datei[44], 128);
    EXPECT_EQ(datei[44 + 6615], 68);  // the first preamble bit, a one
    // The next send replaces the file.
    EXPECT_EQ(k.senden(0, {8, 0, ""}).size(), 44u + 31180u);
    EXPECT_EQ(k.t.ausgabe.gespielt.size(), 2u);
}

class PocRundlauf : public ::testing::TestWithParam<std::tuple<Long, Long, Integer>> {};

TEST_P(PocRundlauf, EveryMessageExactlyOnce) {
    const auto [sampleratesWert, baudWert, kanal] = GetParam();
    PocKontrolle k;
    test::TestKontrolle& t = k.t;
    t.fw.Samplerates(sampleratesWert);
    t.fw.PocBaudRates(static_cast<Integer>(baudWert));
    ASSERT_EQ(t.fw.SoundStart(), 0);
    const int faktor = sampleratesWert == 2 ? 4 : sampleratesWert == 1 ? 2 : 1;

    const auto liste = nachrichten();
    std::vector<std::uint8_t> mono;
    for (const auto& n : liste) {
        const auto datei = k.senden(baudWert, n);
        mono.insert(mono.end(), datei.begin() + 44, datei.end());
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
    PocKontrolle k;
    const auto datei = k.senden(1, {8, 0, "x"});
    const std::vector<std::uint8_t> proben(datei.begin() + 44, datei.end());
    k.t.fw.PocBaudRates(1);
    k.t.fw.DecLinksPOC(Falsch);
    ASSERT_EQ(k.t.fw.SoundStart(), 0);
    k.t.einspeisen(test::stereo(proben, proben));
    ASSERT_EQ(k.t.ereignisse.poc.size(), 1u);
    EXPECT_EQ(k.t.ereignisse.poc[0].Kanal, 1);
    k.t.fw.PocBaudRates(0);
    k.t.einspeisen(test::stereo(proben, proben));
    EXPECT_EQ(k.t.ereignisse.poc.size(), 1u);
}

}  // namespace
}  // namespace tonwerk
