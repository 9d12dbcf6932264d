// The recordings of an independent generator under tests/data: every expected
// POCSAG event exactly once, nothing else.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "poc_testsignal.h"

namespace tonwerk {
namespace {

struct Erwartet {
    Long ric;
    Long funktion;
    std::string textBin;
};

// The expected events of a recording's JSON; the fields needed here are flat
// and the texts are checked through TextBin, so a pattern match suffices.
std::vector<Erwartet> erwarteteEreignisse(const std::string& pfad) {
    std::ifstream datei(pfad);
    const std::string json((std::istreambuf_iterator<char>(datei)), std::istreambuf_iterator<char>());
    const auto ereignisse = json.substr(json.find("\"events\""));
    const std::regex muster(R"re("RIC": (\d+),\s*"Funktion": (\d+),\s*"Text": "(?:[^"\\]|\\.)*",\s*"TextBin": "([01]*)")re");
    std::vector<Erwartet> erwartet;
    for (std::sregex_iterator it(ereignisse.begin(), ereignisse.end(), muster), ende; it != ende; ++it) {
        erwartet.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), (*it)[3]});
    }
    return erwartet;
}

// 16-bit samples as the 8-bit capture sees them: high byte + 128.
std::vector<std::uint8_t> lese8Bit(const std::string& pfad, int& rate) {
    SF_INFO info{};
    SNDFILE* datei = sf_open(pfad.c_str(), SFM_READ, &info);
    if (!datei) return {};
    std::vector<short> proben(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_short(datei, proben.data(), info.frames);
    sf_close(datei);
    rate = info.samplerate;
    std::vector<std::uint8_t> audio;
    for (std::size_t i = 0; i < proben.size(); i += static_cast<std::size_t>(info.channels)) {
        audio.push_back(static_cast<std::uint8_t>(((proben[i] >> 8) + 128) & 0xFF));
    }
    return audio;
}

class PocAufnahme : public ::testing::TestWithParam<std::tuple<const char*, Long>> {};

TEST_P(PocAufnahme, EveryMessageExactlyOnce) {
    const auto [name, baud] = GetParam();
    const std::string basis = std::string(TONWERK_TESTDATA) + "/" + name;
    int rate = 0;
    const auto audio = lese8Bit(basis + ".wav", rate);
    ASSERT_FALSE(audio.empty());
    const auto erwartet = erwarteteEreignisse(basis + ".json");
    ASSERT_EQ(erwartet.size(), 8u);

    test::PocEmpfaenger empfaenger(test::pocEinstellungen(rate, baud));
    empfaenger.zufuehrenMono(audio);
    ASSERT_EQ(empfaenger.meldungen.size(), erwartet.size());
    for (std::size_t i = 0; i < erwartet.size(); ++i) {
        const POCType& m = empfaenger.meldungen[i];
        EXPECT_EQ(m.Kanal, 0);
        EXPECT_EQ(m.RIC, erwartet[i].ric);
        EXPECT_EQ(m.Funktion, erwartet[i].funktion);
        EXPECT_EQ(m.TextBin, erwartet[i].textBin);
        EXPECT_EQ(m.Text, PocAlphaText(erwartet[i].textBin));
    }
}

INSTANTIATE_TEST_SUITE_P(Daten, PocAufnahme,
                         ::testing::Values(std::make_tuple("pocsag512_11025_snr40", 512),
                                           std::make_tuple("pocsag1200_22050_snr40", 1200),
                                           std::make_tuple("pocsag1200_44100_snr30", 1200)));

// Recordings at the other bit rate or of other signals yield nothing at either rate.
TEST(PocAufnahmeFremd, NothingDecoded) {
    for (const char* name : {"pocsag1200_22050_snr40", "pocsag512_11025_snr40", "fms_11025_snr40", "fms_44100_snr25",
                             "zvei_11025_snr30", "zvei_22050_snr40", "tonruf_22050_snr40"}) {
        int rate = 0;
        const auto audio = lese8Bit(std::string(TONWERK_TESTDATA) + "/" + name + ".wav", rate);
        ASSERT_FALSE(audio.empty()) << name;
        for (Long baud : {512, 1200}) {
            if (std::string(name).starts_with("pocsag" + std::to_string(baud))) continue;
            test::PocEmpfaenger empfaenger(test::pocEinstellungen(rate, baud));
            empfaenger.zufuehrenMono(audio);
            EXPECT_TRUE(empfaenger.meldungen.empty()) << name << " " << baud;
        }
    }
}

}  // namespace
}  // namespace tonwerk
