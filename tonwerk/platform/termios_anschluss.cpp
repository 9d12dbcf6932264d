#include "tonwerk/platform/termios_anschluss.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace tonwerk {

TermiosAnschluss::TermiosAnschluss() {
    for (int i = 0; i < 4; ++i) geraete_[i] = "/dev/ttyS" + std::to_string(i);
}

TermiosAnschluss::~TermiosAnschluss() { schliessen(); }

void TermiosAnschluss::geraetSetzen(int port, std::filesystem::path geraet) {
    if (port >= 1 && port <= 4) geraete_[port - 1] = std::move(geraet);
}

std::filesystem::path TermiosAnschluss::geraet(int port) const {
    return port >= 1 && port <= 4 ? geraete_[port - 1] : std::filesystem::path{};
}

bool TermiosAnschluss::oeffnen(int port) {
    if (offen() || port < 1 || port > 4) return false;
    // Non-blocking so that a port without carrier does not hang the open.
    int fd = ::open(geraete_[port - 1].c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    termios t{};
    int linien = 0;
    // A port another program holds is as unusable as a missing one; the lock is
    // advisory, TIOCEXCL keeps out later plain opens.
    bool brauchbar = ::tcgetattr(fd, &t) == 0 && ::ioctl(fd, TIOCMGET, &linien) == 0 &&
                     ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (!brauchbar) {
        ::close(fd);
        return false;
    }
    ::ioctl(fd, TIOCEXCL);
    // Modem status lines must not matter, and closing drops DTR and RTS.
    t.c_cflag |= CLOCAL | HUPCL;
    ::tcsetattr(fd, TCSANOW, &t);
    fd_ = fd;
    // The kernel raises both lines on open; put them where the switches say.
    leitung(TIOCM_DTR, dtr_);
    leitung(TIOCM_RTS, rts_);
    return true;
}

void TermiosAnschluss::schliessen() {
    if (!offen()) return;
    int beide = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIC, &beide);
    ::close(fd_);
    fd_ = -1;
}

bool TermiosAnschluss::leitung(int bit, bool an) {
    if (!offen()) return true;
    return ::ioctl(fd_, an ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

bool TermiosAnschluss::setzeDtr(bool an) {
    dtr_ = an;
    return leitung(TIOCM_DTR, an);
}

bool TermiosAnschluss::setzeRts(bool an) {
    rts_ = an;
    return leitung(TIOCM_RTS, an);
}

}  // namespace tonwerk
