#include "rufpilot/betrieb/einzelinstanz.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace rufpilot {

Einzelinstanz::Einzelinstanz(const std::filesystem::path& verzeichnis) {
    fd_ = ::open((verzeichnis / "rufpilot.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // The kernel drops the lock when the process ends, however it ends.
    gehalten_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

Einzelinstanz::~Einzelinstanz() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace rufpilot
