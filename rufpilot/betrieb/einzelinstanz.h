// One Rufpilot per data directory: a lock file held for the life of the process.
#pragma once

#include <filesystem>
#include <string>

namespace rufpilot {

class Einzelinstanz {
public:
    // Tries to take the lock in `verzeichnis`; `gehalten()` tells whether it succeeded.
    explicit Einzelinstanz(const std::filesystem::path& verzeichnis);
    ~Einzelinstanz();
    Einzelinstanz(const Einzelinstanz&) = delete;
    Einzelinstanz& operator=(const Einzelinstanz&) = delete;

    bool gehalten() const { return gehalten_; }
    // Why the lock file could not be opened or locked for another reason
    // than a running instance; empty when the lock is held or another
    // instance holds it.
    const std::string& fehler() const { return fehler_; }
    // The text to show when the lock is not held.
    std::string meldung() const { return fehler_.empty() ? "Server läuft schon !" : fehler_; }

private:
    int fd_ = -1;
    bool gehalten_ = false;
    std::string fehler_;
};

}  // namespace rufpilot
