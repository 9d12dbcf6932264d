// tonwerk send: every argument is checked against what its format carries, the
// refusal names it, and nothing is written; --roh hands values on unchecked.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bedienfehler.h"
#include "befehle.h"
#include "sende_pruefung.h"

namespace tonwerk::werkzeug {
namespace {

namespace fs = std::filesystem;

struct Senden : ::testing::Test {
    fs::path datei = fs::temp_directory_path() / ("tonwerk_senden_" + std::to_string(::getpid()) + ".wav");
    void TearDown() override { fs::remove(datei); }

    // Runs `send ...` with -o; the refusal's text, empty when it was sent.
    std::string senden(std::vector<std::string> argumente) {
        CLI::App app;
        sendeFmsBefehl(app);
        sendeZveiBefehl(app);
        sendePocsagBefehl(app);
        sendeTonrufBefehl(app);
        argumente.insert(argumente.begin(), "send");
        argumente.push_back("-o");
        argumente.push_back(datei.string());
        std::vector<std::string> umgekehrt(argumente.rbegin(), argumente.rend());
        try {
            app.parse(umgekehrt);
        } catch (const Bedienfehler& e) {
            return e.what();
        }
        return {};
    }

    // Refused with a line naming `argument`, and no file left behind.
    void abgelehnt(const std::vector<std::string>& argumente, const std::string& argument) {
        const std::string meldung = senden(argumente);
        EXPECT_EQ(meldung.rfind(argument, 0), 0u) << meldung;
        EXPECT_NE(meldung.find("erlaubt"), std::string::npos) << meldung;
        EXPECT_EQ(meldung.find('\n'), std::string::npos);
        EXPECT_FALSE(fs::exists(datei)) << argument;
    }
};

TEST_F(Senden, FmsFieldsOutsideTheTelegramAreRefused) {
    const std::vector<std::string> gut = {"fms", "--kennung", "6A1B2345", "--status", "3"};
    abgelehnt({"fms", "--kennung", "6A1B234", "--status", "3"}, "--kennung");
    abgelehnt({"fms", "--kennung", "XYZ12345", "--status", "3"}, "--kennung");
    abgelehnt({"fms", "--kennung", "6A1B23456", "--status", "3"}, "--kennung");
    abgelehnt({"fms", "--kennung", "6A1B2345", "--status", "16"}, "--status");
    abgelehnt({"fms", "--kennung", "6A1B2345", "--status", "-1"}, "--status");
    for (const auto& [name, wert] : std::vector<std::pair<std::string, std::string>>{
             {"--richtung", "2"}, {"--tki", "4"}, {"--tki", "-1"}, {"--baustufe", "2"}}) {
        auto a = gut;
        a.insert(a.end(), {name, wert});
        abgelehnt(a, name);
    }
    EXPECT_EQ(senden(gut), "");
    EXPECT_TRUE(fs::exists(datei));
}

TEST_F(Senden, FmsTextOnlyWhereItTravelsAndAsTyped) {
    const std::vector<std::string> kurztext = {"fms", "--kennung", "6A1B2345", "--status", "10", "--richtung", "1"};
    auto mit = [&](std::vector<std::string> a, const std::string& text) {
        a.insert(a.end(), {"--text", text});
        return a;
    };
    // Would be dropped without notice.
    EXPECT_NE(senden(mit({"fms", "--kennung", "6A1B2345", "--status", "3"}, "Hallo")).find("--status 10"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(datei));
    abgelehnt(mit(kurztext, std::string(100, 'A')), "--text");
    abgelehnt(mit(kurztext, "5 €"), "--text");
    abgelehnt(mit(kurztext, "a@b"), "--text");  // @ shares its code with §
    abgelehnt(mit(kurztext, "\xff"), "--text");
    auto trbos = mit(kurztext, "Hallo");
    trbos.insert(trbos.end(), {"--set", "FMSKurztextTRBOS=True"});
    EXPECT_NE(senden(trbos).find("--tki 3"), std::string::npos);
    EXPECT_EQ(senden(mit(kurztext, std::string(99, 'A'))), "");
    EXPECT_EQ(senden(mit(kurztext, "Grüße, § 5: Ölspur!")), "");
}

TEST_F(Senden, ZveiPocsagAndTonrufRanges) {
    abgelehnt({"zvei", "1234"}, "rufnummer");
    abgelehnt({"zvei", "12A45"}, "rufnummer");
    abgelehnt({"zvei", "123456"}, "rufnummer");
    abgelehnt({"zvei", "12345", "--zusatz", "7"}, "--zusatz");
    abgelehnt({"pocsag", "--ric", "2097152"}, "--ric");
    // The function counts as in the events, 1 to 4 or A to D; 0 (once A) is refused.
    for (const char* f : {"0", "5", "E", "-1", "1a", ""}) abgelehnt({"pocsag", "--ric", "8", "--funktion", f}, "--funktion");
    abgelehnt({"pocsag", "--ric", "8", "--text", std::string(256, 'x')}, "--text");
    abgelehnt({"pocsag", "--ric", "8", "--text", "Preis 5 €"}, "--text");
    abgelehnt({"tonruf", "4"}, "tonruf");
    abgelehnt({"tonruf", "-1"}, "tonruf");
    EXPECT_EQ(senden({"pocsag", "--ric", "8", "--text", std::string(255, 'x')}), "");
    EXPECT_EQ(senden({"zvei", "11234"}), "");
}

TEST_F(Senden, RawPassesValuesToTheLibrary) {
    EXPECT_EQ(senden({"fms", "--kennung", "XYZ12345", "--status", "16", "--roh"}), "");
    EXPECT_TRUE(fs::exists(datei));
    fs::remove(datei);
    EXPECT_EQ(senden({"tonruf", "7", "--roh"}), "");
    // The library sends 1 s of 1000 Hz: the same length as Tonruf 0.
    EXPECT_EQ(fs::file_size(datei), 44u + 18412u);
}

TEST_F(Senden, OutputFileProblemsComeBeforeSending) {
    const std::string fehlt = "/nonexistent/x.wav";
    CLI::App app;
    sendeTonrufBefehl(app);
    EXPECT_THROW(app.parse(std::vector<std::string>{fehlt, "-o", "0", "tonruf", "send"}), Bedienfehler);
    CLI::App app2;
    sendeTonrufBefehl(app2);
    EXPECT_THROW(app2.parse(std::vector<std::string>{fs::temp_directory_path().string(), "-o", "0", "tonruf", "send"}),
                 Bedienfehler);
}

TEST_F(Senden, WritingAFileNeverTouchesTheLine) {
    // The port does not exist: keying would fail, so success shows it was left alone.
    EXPECT_EQ(senden({"tonruf", "0", "--key", "dtr", "--device", "/nonexistent/tty"}), "");
    EXPECT_TRUE(fs::exists(datei));
}

}  // namespace
}  // namespace tonwerk::werkzeug
