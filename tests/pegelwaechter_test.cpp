// The tool's note on an input too quiet to decode anything: given once, when a
// whole stretch stays below -70 dBFS on every channel (DC does not count as
// level), or at the end for a shorter input; never for a signal at -50 dBFS.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "pegelwaechter.h"

namespace tonwerk::werkzeug {
namespace {

constexpr int kRate = 1000;  // the watch counts frames, the rate only sizes its stretches

// `sekunden` of a 50 Hz sine with peaks at `dbfs` (none for silence) plus `dc`, on
// every channel of `kanaele`.
std::vector<std::int16_t> ton(double sekunden, double dbfs, int kanaele = 1, int dc = 0) {
    const auto n = static_cast<std::size_t>(sekunden * kRate);
    const double a = std::isinf(dbfs) ? 0.0 : 32767.0 * std::pow(10.0, dbfs / 20.0);
    std::vector<std::int16_t> x;
    for (std::size_t i = 0; i < n; ++i)
        for (int k = 0; k < kanaele; ++k)
            x.push_back(static_cast<std::int16_t>(std::lround(dc + a * std::sin(2 * M_PI * 50.0 * static_cast<double>(i) / kRate))));
    return x;
}

struct Fall {
    std::string name;
    std::vector<std::vector<std::int16_t>> stuecke;
    int kanaele = 1;
    int hinweise;     // how many notes in all (at most one)
    bool amEnde;      // the note comes from ende()
    std::string enthaelt;
};

TEST(Pegelwaechter, NotesATooQuietInputOnce) {
    const double stumm = -INFINITY;
    const std::vector<Fall> faelle = {
        {"-80 dBFS, 25 s", {ton(25, -80)}, 1, 1, false, "zu niedrig"},
        {"-50 dBFS, 25 s", {ton(25, -50)}, 1, 0, false, ""},
        {"-69 dBFS", {ton(12, -69)}, 1, 0, false, ""},
        {"stumm", {ton(12, stumm)}, 1, 1, false, "stumm"},
        {"kurz und leise", {ton(3, -80)}, 1, 1, true, "zu niedrig"},
        {"erst laut, dann leise", {ton(10, -20), ton(11, -85)}, 1, 1, false, "zu niedrig"},
        {"leise mit Gleichanteil", {ton(12, -80, 1, 3000)}, 1, 1, false, "zu niedrig"},
        {"ein Kanal laut", {[] {
                                auto x = ton(12, -80, 2);
                                for (std::size_t i = 1; i < x.size(); i += 200) x[i] = 20000;
                                return x;
                            }()},
         2, 0, false, ""},
        {"laut, Rest unter einer Sekunde leise", {ton(10, -20), ton(0.5, stumm)}, 1, 0, false, ""},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Pegelwaechter w(kRate, f.kanaele);
        std::vector<std::string> laufend;
        for (const auto& s : f.stuecke)
            if (auto h = w.hoeren(s.data(), s.size() / static_cast<std::size_t>(f.kanaele))) laufend.push_back(*h);
        const auto ende = w.ende();
        const int n = static_cast<int>(laufend.size()) + (ende ? 1 : 0);
        ASSERT_EQ(n, f.hinweise);
        if (n == 0) continue;
        EXPECT_EQ(ende.has_value(), f.amEnde);
        const std::string text = ende ? *ende : laufend[0];
        EXPECT_NE(text.find(f.enthaelt), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tonwerk::werkzeug
