// tonwerk send pocsag: options reach POCSenden and -o keeps the transmit file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bedienfehler.h"
#include "befehle.h"

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

TEST(PocWerkzeug, SendWritesTheTransmitFile) {
    const fs::path datei = fs::temp_directory_path() / ("tonwerk_poc_send_" + std::to_string(::getpid()) + ".wav");
    ASSERT_TRUE(ausfuehren({"send", "pocsag", "--ric", "1234567", "--funktion", "4", "--baud", "1200", "--text", "A",
                            "-o", datei.string()}));
    EXPECT_EQ(fs::file_size(datei), 44u + 21856u);
    // 512 bit/s unless asked otherwise.
    ASSERT_TRUE(ausfuehren({"send", "pocsag", "--ric", "8", "-o", datei.string()}));
    EXPECT_EQ(fs::file_size(datei), 44u + 31180u);
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
