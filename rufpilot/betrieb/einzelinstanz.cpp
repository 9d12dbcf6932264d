#include "rufpilot/betrieb/einzelinstanz.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace rufpilot {

Einzelinstanz::Einzelinstanz(const std::filesystem::path& verzeichnis) {
    const std::filesystem::path datei = verzeichnis / "rufpilot.lock";
    fd_ = ::open(datei.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Only a lock another process holds means another instance; a file that
    // cannot be opened (a directory of that name, a read-only data directory)
    // is said as what it is.
    if (fd_ < 0) {
        fehler_ = "Sperrdatei " + datei.string() + " lässt sich nicht öffnen: " + std::strerror(errno);
        return;
    }
    // The kernel drops the lock when the process ends, however it ends.
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        gehalten_ = true;
    } else if (errno != EWOULDBLOCK) {
        fehler_ = "Sperrdatei " + datei.string() + " lässt sich nicht sperren: " + std::strerror(errno);
    }
}

Einzelinstanz::~Einzelinstanz() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace rufpilot
