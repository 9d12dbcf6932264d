// Runs a program with the line observer preloaded, so that its serial code can
// key a pty. Test targets that use it get the library's path as
// RUFPILOT_LEITUNGSBEOBACHTER and, in sanitizer builds, the sanitizer runtime
// (which has to come first in LD_PRELOAD) as RUFPILOT_ASAN_LAUFZEIT.
#pragma once

#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace rufpilot::test {

// A pseudo-terminal pair; `name` is the slave's path, empty when none could be had.
struct Pty {
    int master = -1;
    int slave = -1;
    std::string name;
    Pty() {
        char n[256] = {};
        if (::openpty(&master, &slave, n, nullptr, nullptr) != 0) return;
        name = n;
        // Children started meanwhile need not inherit the pair.
        ::fcntl(master, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    }
    ~Pty() {
        if (slave >= 0) ::close(slave);
        if (master >= 0) ::close(master);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
};

// The LD_PRELOAD value for the observer.
inline std::string leitungsbeobachterPreload() {
    std::string wert;
#ifdef RUFPILOT_ASAN_LAUFZEIT
    wert = std::string(RUFPILOT_ASAN_LAUFZEIT) + ":";
#endif
#ifdef RUFPILOT_LEITUNGSBEOBACHTER
    wert += RUFPILOT_LEITUNGSBEOBACHTER;
#endif
    return wert;
}

// Starts `argv` (argv[0] a path) with the process's environment plus the
// observer writing to `protokoll`. Its process id, or -1 when it could not be
// started.
inline pid_t unterLeitungsbeobachtungStarten(const std::vector<std::string>& argv,
                                             const std::filesystem::path& protokoll,
                                             std::vector<std::string> zusatzUmgebung = {}) {
    std::vector<std::string> umgebung;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0 && std::strncmp(*e, "LEITUNGSBEOBACHTER_LOG=", 23) != 0) {
            umgebung.emplace_back(*e);
        }
    }
    umgebung.push_back("LD_PRELOAD=" + leitungsbeobachterPreload());
    umgebung.push_back("LEITUNGSBEOBACHTER_LOG=" + protokoll.string());
    for (auto& z : zusatzUmgebung) umgebung.push_back(std::move(z));

    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& u : umgebung) envp.push_back(const_cast<char*>(u.c_str()));
    envp.push_back(nullptr);

    pid_t pid = 0;
    if (argv.empty() || ::posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), envp.data()) != 0) return -1;
    return pid;
}

// Waits for a started process: its exit code, or -1 when it did not exit normally.
inline int prozessAbwarten(pid_t pid) {
    if (pid < 0) return -1;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs `argv` under the observer and waits for it (see above).
inline int unterLeitungsbeobachtung(const std::vector<std::string>& argv, const std::filesystem::path& protokoll,
                                    std::vector<std::string> zusatzUmgebung = {}) {
    return prozessAbwarten(unterLeitungsbeobachtungStarten(argv, protokoll, std::move(zusatzUmgebung)));
}

}  // namespace rufpilot::test
