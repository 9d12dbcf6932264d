// A stop by SIGTERM while the real program is sending, headless and with its
// window (offscreen): a call from a call monitor on 127.0.0.1 keys DTR of a
// pty under the line observer, SIGTERM comes while the line is up. The send
// finishes with the line keyed, the call is logged, the line goes to rest and
// the program exits normally.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "leitungsbeobachtung.h"
#include "leitungsprotokoll.h"
#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/logbuch.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/config/quellen_datei.h"
#include "temp_verzeichnis.h"

#if defined(RUFPILOT_PROGRAMM)

namespace rufpilot {
namespace {

// A listening socket on a free port of 127.0.0.1.
struct Monitorgegenstelle {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::uint16_t port = 0;
    Monitorgegenstelle() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t l = sizeof a;
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(fd, 1) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &l) == 0)
            port = ntohs(a.sin_port);
    }
    ~Monitorgegenstelle() { ::close(fd); }
    // The gateway's connection, or -1 after `ms`.
    int annehmen(int ms) const {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, ms) != 1) return -1;
        return ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
    }
};

// Waits (up to 60 s, checking every 10 ms) until the observer has seen DTR up.
bool dtrOben(const std::filesystem::path& protokoll) {
    for (int i = 0; i < 6000; ++i) {
        for (const auto& z : test::leitungsprotokollLesen(protokoll))
            if (z.dtr && !z.rts) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The exit code, or -1; a program still running after 60 s is killed.
int abwartenHoechstens60s(pid_t pid) {
    for (int i = 0; i < 6000; ++i) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0 && errno != EINTR) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    test::prozessAbwarten(pid);
    return -1;
}

void stopWaehrendDesSendens(bool fenster) {
    test::Pty pty;
    ASSERT_FALSE(pty.name.empty());
    test::TempVerzeichnis dir;
    Monitorgegenstelle router;
    ASSERT_NE(router.port, 0);
    Einstellungen e;
    e.msnListe = "4711;;;;;;;;;";
    e.fmsVorlaufMs = 200;
    einstellungenSchreiben(dir / "server.ini", e);
    nummernSchreiben(dir / "fms_telefon_leitung.dat", {{"6A1B2345", "01711234567", "DTR"}});
    Quelleneinstellungen q;
    q.art = Quellenart::Anrufmonitor;
    q.monitorHost = "127.0.0.1";
    q.monitorPort = router.port;
    quellenSchreiben(dir.pfad(), q);
    const auto protokoll = dir / "leitungen.log";

    std::vector<std::string> argv{RUFPILOT_PROGRAMM, "--dir", dir.pfad().string(), "--com", "1=" + pty.name,
                                  "--pcm", "null"};
    // The machine-wide locks in the test's own directory: the two modes run side by side.
    std::vector<std::string> umgebung{"RUFPILOT_SPERREN=" + dir.pfad().string()};
    if (fenster) umgebung.push_back("QT_QPA_PLATFORM=offscreen");
    else argv.push_back("--ohne-fenster");
    const pid_t pid = test::unterLeitungsbeobachtungStarten(argv, protokoll, umgebung);
    ASSERT_GT(pid, 0);
    const int verbindung = router.annehmen(60000);
    if (verbindung < 0) {
        ::kill(pid, SIGKILL);
        test::prozessAbwarten(pid);
        FAIL() << "the gateway did not connect to the call monitor";
    }
    const std::string ring = "08.12.26 10:00:00;RING;0;01711234567;4711;SIP0;\r\n";
    ASSERT_EQ(::write(verbindung, ring.data(), ring.size()), static_cast<ssize_t>(ring.size()));
    const bool oben = dtrOben(protokoll);
    ::kill(pid, SIGTERM);
    const int exitcode = abwartenHoechstens60s(pid);
    ::close(verbindung);
    ASSERT_TRUE(oben) << "the call never keyed DTR";
    EXPECT_EQ(exitcode, 0) << "ended by the signal instead of shutting down";

    // The call was finished and logged.
    std::vector<std::string> zeilen;
    for (const auto& f : std::filesystem::directory_iterator(dir / "Logs"))
        for (const auto& z : logLesen(f.path())) zeilen.push_back(z);
    ASSERT_EQ(zeilen.size(), 1u);
    EXPECT_NE(zeilen[0].find("\t01711234567\t4711\t6A1B2345\t1\tDTR\t"), std::string::npos) << zeilen[0];
    // Up once, down once at the end of the send, before the port closes.
    const auto folge = test::leitungsfolge(test::leitungsprotokollLesen(protokoll));
    ASSERT_FALSE(folge.empty());
    EXPECT_EQ(folge.back(), "00");
    int hoch = 0;
    for (std::size_t i = 1; i < folge.size(); ++i)
        if (folge[i] == "10" && folge[i - 1] != "10") ++hoch;
    EXPECT_EQ(hoch, 1);
}

TEST(BeendenTastung, SigtermDuringAKeyedSendHeadless) { stopWaehrendDesSendens(false); }

TEST(BeendenTastung, SigtermDuringAKeyedSendWithTheWindow) { stopWaehrendDesSendens(true); }

}  // namespace
}  // namespace rufpilot

#endif
