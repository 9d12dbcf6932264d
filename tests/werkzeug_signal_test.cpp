// The tool gives a keyed line back when it is told to stop: SIGHUP, SIGTERM and
// Ctrl+C end `key on` through the same release as its normal end.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "abbruchsignale.h"
#include "live_schleife.h"
#include "rufpilot/leitungsbeobachtung.h"
#include "rufpilot/leitungsprotokoll.h"

namespace tonwerk::werkzeug {
namespace {

namespace fs = std::filesystem;

TEST(WerkzeugSignale, EachStopSignalEndsTheLiveLoop) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SchleifenZeitgeber t1, t2;
        bool gesendet = false;
        const bool abgebrochen = liveSchleife(t1, t2, [&] {
            if (!gesendet) {
                gesendet = true;
                std::raise(signal);  // handled synchronously, before raise returns
            }
            return false;
        });
        EXPECT_TRUE(abgebrochen) << signal;
        EXPECT_EQ(Abbruchsignale::empfangen(), signal);
    }
}

// `tonwerk key ... on` on a pty under the line observer, stopped by `signal`
// once it has said the line is up. The observer's record of the lines.
std::vector<std::string> keyGestoppt(int signal, int& exitCode) {
    rufpilot::test::Pty pty;
    if (pty.name.empty()) return {};
    const fs::path protokoll = fs::temp_directory_path() / ("tonwerk_key_" + std::to_string(::getpid()) + ".log");
    fs::remove(protokoll);
    int rohr[2];
    if (::pipe(rohr) != 0) return {};
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_adddup2(&aktionen, rohr[1], 2);
    posix_spawn_file_actions_addclose(&aktionen, rohr[0]);
    std::vector<std::string> umgebung;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0) umgebung.emplace_back(*e);
    umgebung.push_back("LD_PRELOAD=" + rufpilot::test::leitungsbeobachterPreload());
    umgebung.push_back("LEITUNGSBEOBACHTER_LOG=" + protokoll.string());
    std::vector<std::string> argv = {TONWERK_TOOL, "key", "--port", "2", "--key", "dtr", "--device", pty.name, "on"};
    std::vector<char*> a, u;
    for (auto& s : argv) a.push_back(s.data());
    a.push_back(nullptr);
    for (auto& s : umgebung) u.push_back(s.data());
    u.push_back(nullptr);
    pid_t pid = 0;
    const int start = posix_spawn(&pid, a[0], &aktionen, nullptr, a.data(), u.data());
    posix_spawn_file_actions_destroy(&aktionen);
    ::close(rohr[1]);
    if (start != 0) return {};
    // Synchronised on what the tool said, not on time.
    std::string gelesen;
    char puffer[256];
    while (gelesen.find("ist Hi") == std::string::npos) {
        const ssize_t n = ::read(rohr[0], puffer, sizeof puffer);
        if (n <= 0) break;
        gelesen.append(puffer, static_cast<std::size_t>(n));
    }
    ::kill(pid, signal);
    while (::read(rohr[0], puffer, sizeof puffer) > 0) {
    }
    ::close(rohr[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto folge = rufpilot::test::leitungsfolge(rufpilot::test::leitungsprotokollLesen(protokoll));
    fs::remove(protokoll);
    return folge;
}

TEST(WerkzeugSignale, KeyedLineIsReleasedOnEveryStopSignal) {
    for (int signal : {SIGHUP, SIGTERM, SIGINT}) {
        int exitCode = -1;
        const auto folge = keyGestoppt(signal, exitCode);
        ASSERT_FALSE(folge.empty()) << "no pty or no observer";
        // Up, then down by the tool itself (the observer does not see a close).
        EXPECT_EQ(folge.back(), "00") << signal;
        EXPECT_NE(std::find(folge.begin(), folge.end(), "10"), folge.end()) << signal;
        EXPECT_EQ(exitCode, 0) << signal;
    }
}

}  // namespace
}  // namespace tonwerk::werkzeug
