// The FMS recordings of an independent generator: every expected telegram exactly
// once and nothing else.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "fms_hilfen.h"

namespace tonwerk {
namespace {

struct Aufnahme {
    int rate = 0;
    std::vector<std::uint8_t> frames;  // 8-bit stereo as captured
};

// 16-bit samples become 8-bit capture samples: high byte + 128.
Aufnahme lesen(const std::string& pfad) {
    SF_INFO info{};
    SNDFILE* f = sf_open(pfad.c_str(), SFM_READ, &info);
    if (f == nullptr) throw std::runtime_error(pfad + ": " + sf_strerror(nullptr));
    std::vector<short> proben(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_short(f, proben.data(), info.frames);
    sf_close(f);
    Aufnahme a;
    a.rate = info.samplerate;
    a.frames.assign(static_cast<std::size_t>(2 * info.frames), 128);
    for (sf_count_t i = 0; i < info.frames; ++i) {
        for (int k = 0; k < std::min(info.channels, 2); ++k) {
            const short s = proben[static_cast<std::size_t>(i * info.channels + k)];
            a.frames[static_cast<std::size_t>(2 * i + k)] = static_cast<std::uint8_t>((s >> 8) + 128);
        }
    }
    return a;
}

class FmsAufnahmen : public ::testing::TestWithParam<const char*> {};

TEST_P(FmsAufnahmen, EveryTelegramExactlyOnce) {
    const std::string basis = std::string(TONWERK_TESTDATA) + "/" + GetParam();
    const Aufnahme a = lesen(basis + ".wav");
    std::ifstream json(basis + ".json");
    const auto erwartet = nlohmann::json::parse(json);

    test::FmsKette kette(a.rate);
    kette.einspeisen(a.frames);
    kette.abschliessen();

    std::size_t n = 0;
    for (const auto& ev : erwartet["files"][0]["events"]) {
        if (ev["kind"] != "FMS") continue;
        ASSERT_LT(n, kette.gemeldet.size()) << "missing " << ev.dump();
        const FmsTlgType& t = kette.gemeldet[n++];
        EXPECT_EQ(t.Kanal, ev["Kanal"].get<int>());
        EXPECT_EQ(t.Kennung, ev["Kennung"].get<std::string>());
        EXPECT_EQ(t.bos, ev["bos"].get<int>());
        EXPECT_EQ(t.land, ev["land"].get<int>());
        EXPECT_EQ(t.ort, ev["ort"].get<std::string>());
        EXPECT_EQ(t.fz, ev["fz"].get<std::string>());
        EXPECT_EQ(t.Richtung, ev["Richtung"].get<int>());
        EXPECT_EQ(t.Status, ev["Status"].get<int>());
        EXPECT_EQ(t.tki, ev["tki"].get<int>());
        EXPECT_EQ(t.Baustufe, ev["Baustufe"].get<int>());
        EXPECT_EQ(t.Text, ev["Text"].get<std::string>());
        EXPECT_EQ(t.folgenr, ev["folgenr"].get<int>());
        EXPECT_EQ(t.iskurztext, ev["iskurztext"].get<int>());
        EXPECT_EQ(t.isfolgetelegramm, ev["isfolgetelegramm"].get<int>());
    }
    EXPECT_EQ(kette.gemeldet.size(), n);
    EXPECT_EQ(n, 8u);
}

INSTANTIATE_TEST_SUITE_P(Dateien, FmsAufnahmen, ::testing::Values("fms_11025_snr40", "fms_44100_snr25"));

}  // namespace
}  // namespace tonwerk
