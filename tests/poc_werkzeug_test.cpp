// tonwerk send pocsag: options reach POCSenden and -o keeps the transmit file;
// by default the bits go out on an exact clock, --klassisch gives the classic
// control's bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bedienfehler.h"
#include "befehle.h"
#include "referenz/referenzsignal.h"

namespace tonwerk::werkzeug {
namespace {

namespace fs = std::filesystem;

// Parses the arguments after "tonwerk" and runs the command; false on a parse error.
bool ausfuehren(std::vector<std::string> argumente) {
    CLI::App app;
    app.require_subcommand(1);
    sendePocsagBefehl(app);
    decodeBefehl(app);
    argumente.insert(argumente.begin(), "tonwerk");
    std::vector<const char*> argv;
    for (const auto& a : argumente) argv.push_back(a.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError&) {
        return false;
    } catch (const Bedienfehler&) {
        return false;
    }
    return true;
}

fs::path sendedatei() {
    return fs::temp_directory_path() / ("tonwerk_poc_send_" + std::to_string(::getpid()) + ".wav");
}

TEST(PocWerkzeug, KlassischWritesTheClassicTransmitFile) {
    const fs::path datei = sendedatei();
    ASSERT_TRUE(ausfuehren({"send", "pocsag", "--klassisch", "--ric", "1234567", "--funktion", "4", "--baud", "1200",
                            "--text", "A", "-o", datei.string()}));
    EXPECT_EQ(fs::file_size(datei), 44u + 21856u);
    // 512 bit/s unless asked otherwise.
    ASSERT_TRUE(ausfuehren({"send", "pocsag", "--klassisch", "--ric", "8", "-o", datei.string()}));
    EXPECT_EQ(fs::file_size(datei), 44u + 31180u);
    EXPECT_FALSE(ausfuehren({"send", "pocsag", "--klassisch", "--genau", "--ric", "8", "-o", datei.string()}));
    fs::remove(datei);
}

// The transmit file read without the library's receiver: every level change is
// measured against the ideal grid of bit edges, k * 11025 / baud after the 0.6 s
// of silence, and the level in the middle of each bit is read and compared with
// the bits the reference generator codes on its own.
struct Messung {
    double groessteAbweichung = 0;  // samples between a level change and its ideal edge
    std::string bits;               // read in the middle of each bit: "0" above the zero line
};

Messung bitsMessen(const fs::path& datei, double baud, std::size_t anzahlBits) {
    std::ifstream ein(datei, std::ios::binary);
    const std::vector<unsigned char> wav((std::istreambuf_iterator<char>(ein)), std::istreambuf_iterator<char>());
    const std::vector<unsigned char> x(wav.begin() + 44 + 6615, wav.end());
    const double bit = 11025.0 / baud;
    Messung m;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (x[i] == x[i - 1] || x[i] == 128) continue;
        const double kante = std::round(static_cast<double>(i) / bit) * bit;
        m.groessteAbweichung = std::max(m.groessteAbweichung, std::abs(static_cast<double>(i) - kante));
    }
    for (std::size_t k = 0; k < anzahlBits; ++k) {
        const auto mitte = static_cast<std::size_t>((static_cast<double>(k) + 0.5) * bit);
        m.bits += mitte < x.size() && x[mitte] > 128 ? '0' : '1';
    }
    return m;
}

TEST(PocWerkzeug, SendsOnAnExactBitClockByDefault) {
    const fs::path datei = sendedatei();
    const std::string text = "Einsatz Brand Wohnung, Keller, Menschenleben in Gefahr";
    const referenz::PocSendung s = referenz::pocSendung({{1234567, 3, text}}, true);
    std::string erwartet;
    for (int i = 0; i < 576; ++i) erwartet += i % 2 == 0 ? '1' : '0';
    for (std::uint32_t w : s.worte)
        for (int b = 31; b >= 0; --b) erwartet += ((w >> b) & 1u) ? '1' : '0';
    struct Fall {
        const char* baud;
        double rate;
        bool klassisch;
    };
    for (const Fall& f : {Fall{"1200", 1200, false}, Fall{"512", 512, false}, Fall{"1200", 1200, true}}) {
        std::vector<std::string> a = {"send", "pocsag", "--ric", "1234567", "--funktion", "4", "--baud", f.baud,
                                      "--text", text, "-o", datei.string()};
        if (f.klassisch) a.push_back("--klassisch");
        ASSERT_TRUE(ausfuehren(a));
        const Messung m = bitsMessen(datei, f.rate, erwartet.size());
        if (f.klassisch) {
            // Runs rounded one by one: the 1200 bit/s preamble goes out at 1225 bit/s,
            // and a receiver with a true clock reads other bits.
            EXPECT_GT(m.groessteAbweichung, 2.0);
            EXPECT_NE(m.bits, erwartet);
        } else {
            EXPECT_LE(m.groessteAbweichung, 0.5) << f.baud;
            EXPECT_EQ(m.bits, erwartet) << f.baud;
            EXPECT_EQ(fs::file_size(datei),
                      44u + 6615u + static_cast<std::uintmax_t>(std::lround(static_cast<double>(erwartet.size()) * 11025.0 / f.rate)) + 100u)
                << f.baud;
        }
    }
    fs::remove(datei);
}

// --funktion counts as the decoded event does, as a number or a letter.
TEST(PocWerkzeug, FunctionRoundTripsInTheEventsNumbering) {
    const fs::path datei = fs::temp_directory_path() / ("tonwerk_poc_fkt_" + std::to_string(::getpid()) + ".wav");
    for (const auto& [gesendet, gelesen] : std::vector<std::pair<std::string, int>>{{"4", 4}, {"1", 1}, {"c", 3}, {"B", 2}}) {
        ASSERT_TRUE(ausfuehren({"send", "pocsag", "--ric", "8", "--funktion", gesendet, "--text", "x", "-o", datei.string()}));
        testing::internal::CaptureStdout();
        ASSERT_TRUE(ausfuehren({"decode", datei.string(), "--baud", "512"}));
        const std::string text = testing::internal::GetCapturedStdout();
        EXPECT_NE(text.find("Funktion=" + std::to_string(gelesen) + " "), std::string::npos) << gesendet << ": " << text;
    }
    fs::remove(datei);
}

TEST(PocWerkzeug, OptionsOutsideTheirRangeAreRefused) {
    EXPECT_FALSE(ausfuehren({"send", "pocsag", "--ric", "8", "--baud", "600", "-o", "/nonexistent/x.wav"}));
    EXPECT_FALSE(ausfuehren({"send", "pocsag", "--ric", "2097152", "-o", "/nonexistent/x.wav"}));
    EXPECT_FALSE(ausfuehren({"send", "pocsag", "--ric", "8", "--funktion", "5", "-o", "/nonexistent/x.wav"}));
    EXPECT_FALSE(ausfuehren({"send", "pocsag", "--text", "ohne RIC", "-o", "/nonexistent/x.wav"}));
}

}  // namespace
}  // namespace tonwerk::werkzeug
