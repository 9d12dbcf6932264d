// The live commands' refusals, which must come before any device is touched.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>

#include "befehle.h"
#include "systemfehler.h"

namespace tonwerk::werkzeug {
namespace {

void ausfuehren(const std::string& zeile) {
    CLI::App app;
    recordBefehl(app);
    keyBefehl(app);
    app.parse(zeile);
}

std::string fehlerText(const std::string& zeile) {
    try {
        ausfuehren(zeile);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

TEST(WerkzeugKey, MissingPortIsAClearError) {
    EXPECT_NE(fehlerText("key --port 2 --line rts on --device /nonexistent/tty --for 0").find(
                  "COM2 (/nonexistent/tty): Anschluss nicht vorhanden"),
              std::string::npos);
    EXPECT_THROW(ausfuehren("key --port 5 --line dtr on"), CLI::ValidationError);
    EXPECT_THROW(ausfuehren("key --port 1 --line cts on"), CLI::ValidationError);
    EXPECT_THROW(ausfuehren("key --port 1 --line dtr halb"), CLI::ValidationError);
    // A negative time would hold the line until Ctrl+C.
    EXPECT_THROW(ausfuehren("key --port 1 --key dtr on --for -1"), CLI::ValidationError);
}

// A port that will not open says why, not just "nicht vorhanden".
TEST(WerkzeugKey, PortProblemsAreToldApart) {
    EXPECT_EQ(anschlussGrund("/nonexistent/tty"), "Anschluss nicht vorhanden");
    EXPECT_EQ(anschlussGrund("/dev/null"), "keine serielle Schnittstelle");
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    EXPECT_EQ(anschlussGrund(name), "Anschluss nicht benutzbar");  // opens, yet the caller could not use it
    ASSERT_EQ(::flock(slave, LOCK_EX | LOCK_NB), 0);              // as another program holding it
    EXPECT_EQ(anschlussGrund(name), "von einem anderen Programm belegt");
    ::close(slave);
    ::close(master);
}

TEST(WerkzeugRecord, RefusesZeroLengthAndUncreatableFiles) {
    const auto datei = std::filesystem::temp_directory_path() / ("tonwerk-record-" + std::to_string(::getpid()));
    EXPECT_NE(fehlerText("record 0 " + datei.string()).find("Aufnahmelänge 0"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(datei));
    EXPECT_THROW(ausfuehren("record 40000 " + datei.string()), std::overflow_error);
    EXPECT_NE(fehlerText("record 5 /nonexistent/dir/x.wav").find("kann nicht angelegt werden"), std::string::npos);
    // The control would record its default of 8 s for a negative length.
    EXPECT_NE(fehlerText("record -3 " + datei.string()).find("Aufnahmelänge -3 s: erlaubt sind 1 bis 32767"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(datei));
    EXPECT_THROW(ausfuehren("record 5 x.wav --rate 8000"), std::runtime_error);
}

}  // namespace
}  // namespace tonwerk::werkzeug
