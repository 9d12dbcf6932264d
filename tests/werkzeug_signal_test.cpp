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

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>

#include "abbruchsignale.h"
#include "alsa_testumgebung.h"
#include "live_schleife.h"
#include "rufpilot/hilfen/leitungsbeobachtung.h"
#include "rufpilot/hilfen/leitungsprotokoll.h"

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

// The tool under the line observer writing to `protokoll`, its stderr on a pipe.
struct Werkzeug {
    pid_t pid = -1;
    int fehler = -1;  // read end of its stderr

    Werkzeug(std::vector<std::string> argv, const fs::path& protokoll) {
        int rohr[2];
        if (::pipe(rohr) != 0) return;
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_adddup2(&aktionen, rohr[1], 2);
        posix_spawn_file_actions_addclose(&aktionen, rohr[0]);
        std::vector<std::string> umgebung;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0) umgebung.emplace_back(*e);
        umgebung.push_back("LD_PRELOAD=" + rufpilot::test::leitungsbeobachterPreload());
        umgebung.push_back("LEITUNGSBEOBACHTER_LOG=" + protokoll.string());
        argv.insert(argv.begin(), TONWERK_TOOL);
        std::vector<char*> a, u;
        for (auto& s : argv) a.push_back(s.data());
        a.push_back(nullptr);
        for (auto& s : umgebung) u.push_back(s.data());
        u.push_back(nullptr);
        if (posix_spawn(&pid, a[0], &aktionen, nullptr, a.data(), u.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&aktionen);
        ::close(rohr[1]);
        fehler = rohr[0];
    }
    // Reads stderr until `text` has come (or the stream ends).
    void warteAuf(const std::string& text) {
        std::string gelesen;
        char puffer[256];
        while (gelesen.find(text) == std::string::npos) {
            const ssize_t n = ::read(fehler, puffer, sizeof puffer);
            if (n <= 0) break;
            gelesen.append(puffer, static_cast<std::size_t>(n));
        }
    }
    // Drains stderr and waits; the exit code, -1 when it did not exit normally.
    int ende() {
        char puffer[256];
        while (::read(fehler, puffer, sizeof puffer) > 0) {
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ~Werkzeug() {
        if (fehler >= 0) ::close(fehler);
    }
};

fs::path protokollDatei(const char* name) {
    const fs::path p = fs::temp_directory_path() / (name + std::to_string(::getpid()) + ".log");
    fs::remove(p);
    return p;
}

// `tonwerk key ... on` on a pty, stopped by `signal` once it has said the line
// is up. The observer's record of the lines.
std::vector<std::string> keyGestoppt(int signal, int& exitCode) {
    rufpilot::test::Pty pty;
    if (pty.name.empty()) return {};
    const fs::path protokoll = protokollDatei("tonwerk_key_");
    Werkzeug w({"key", "--port", "2", "--key", "dtr", "--device", pty.name, "on"}, protokoll);
    if (w.pid < 0) return {};
    w.warteAuf("ist Hi");  // synchronised on what the tool said, not on time
    ::kill(w.pid, signal);
    exitCode = w.ende();
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

// Ctrl+C while a keyed transmission plays: it plays to its end, then the line
// drops and the tool exits with 128 + SIGINT. The sound output is a FIFO that
// this test reads: the first bytes show the transmission (and the keying before
// it) under way, and the output cannot end before the test has sent the signal.
TEST(WerkzeugSignale, KeyedSendStoppedByCtrlCReleasesTheLine) {
    rufpilot::test::Pty pty;
    ASSERT_FALSE(pty.name.empty());
    test::AlsaTestumgebung alsa;
    fs::remove(alsa.ausgabe());
    ASSERT_EQ(::mkfifo(alsa.ausgabe().c_str(), 0600), 0);
    // Opened first and one page small, so that the tool blocks in its output
    // long before the transmission (51 KB) could end.
    const int fifo = ::open(alsa.ausgabe().c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fifo, 0);
    ASSERT_GT(::fcntl(fifo, F_SETPIPE_SZ, 4096), 0);
    ASSERT_EQ(::fcntl(fifo, F_SETFL, 0), 0);
    const fs::path protokoll = protokollDatei("tonwerk_send_");
    Werkzeug w({"send", "tonruf", "1", "--pcm", "tonwerk_aus", "--key", "rts", "--port", "3", "--device", pty.name},
               protokoll);
    ASSERT_GE(w.pid, 0);
    // Linux reports no hang-up on a FIFO before its first writer: this waits for data.
    pollfd warten{fifo, POLLIN, 0};
    ASSERT_EQ(::poll(&warten, 1, -1), 1);
    char puffer[4096];
    ASSERT_GT(::read(fifo, puffer, sizeof puffer), 0);
    ::kill(w.pid, SIGINT);
    std::size_t gespielt = 0;
    for (ssize_t n; (n = ::read(fifo, puffer, sizeof puffer)) > 0;) gespielt += static_cast<std::size_t>(n);
    ::close(fifo);
    EXPECT_EQ(w.ende(), 128 + SIGINT);
    EXPECT_GT(gespielt, 0u);
    const auto folge = rufpilot::test::leitungsfolge(rufpilot::test::leitungsprotokollLesen(protokoll));
    fs::remove(protokoll);
    ASSERT_FALSE(folge.empty());
    EXPECT_NE(std::find(folge.begin(), folge.end(), "01"), folge.end());
    EXPECT_EQ(folge.back(), "00");
}

}  // namespace
}  // namespace tonwerk::werkzeug
