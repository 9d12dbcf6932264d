// One Rufpilot per data directory: a lock file held for the life of the process.
#pragma once

#include <filesystem>

namespace rufpilot {

class Einzelinstanz {
public:
    // Tries to take the lock in `verzeichnis`; `gehalten()` tells whether it succeeded.
    explicit Einzelinstanz(const std::filesystem::path& verzeichnis);
    ~Einzelinstanz();
    Einzelinstanz(const Einzelinstanz&) = delete;
    Einzelinstanz& operator=(const Einzelinstanz&) = delete;

    bool gehalten() const { return gehalten_; }

private:
    int fd_ = -1;
    bool gehalten_ = false;
};

}  // namespace rufpilot
