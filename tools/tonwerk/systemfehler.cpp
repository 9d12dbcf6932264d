#include "systemfehler.h"

#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tonwerk/platform/alsa_meldungen.h"

namespace tonwerk::werkzeug {

std::string systemFehlerText(int fehler) {
    switch (std::abs(fehler)) {
        case ENOENT: return "nicht vorhanden";
        case ENODEV:
        case ENXIO: return "Gerät nicht vorhanden";
        case EACCES:
        case EPERM: return "keine Berechtigung";
        case EBUSY: return "belegt (ein anderes Programm benutzt es)";
        case EISDIR: return "ist ein Verzeichnis";
        case ENOTDIR: return "ein Teil des Pfades ist kein Verzeichnis";
        case ENOSPC: return "kein Platz mehr auf dem Datenträger";
        case EROFS: return "Datenträger ist schreibgeschützt";
        case EINVAL: return "Einstellung wird vom Gerät nicht unterstützt";
        default: return std::strerror(std::abs(fehler));
    }
}

std::string anschlussGrund(const std::string& geraet) {
    const int fd = ::open(geraet.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int fehler = errno;
        if (fehler == ENOENT || fehler == ENODEV || fehler == ENXIO) return "Anschluss nicht vorhanden";
        if (fehler == EACCES || fehler == EPERM) return "keine Berechtigung (Gruppe dialout?)";
        if (fehler == EBUSY) return "von einem anderen Programm belegt";
        return systemFehlerText(fehler);
    }
    std::string grund = "Anschluss nicht benutzbar";
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        grund = "keine serielle Schnittstelle";
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        grund = "von einem anderen Programm belegt";
    ::close(fd);
    return grund;
}

void alsaMeldungenAus() { alsaMeldungenUmleiten(); }

}  // namespace tonwerk::werkzeug
