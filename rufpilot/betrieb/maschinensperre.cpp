#include "rufpilot/betrieb/maschinensperre.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/quellen_datei.h"
#include "rufpilot/config/textdatei.h"

namespace rufpilot {

namespace {

// The resource's name as a file name: letters and digits kept, the rest '_'.
std::string dateiname(const std::string& betriebsmittel) {
    std::string name = "rufpilot-";
    for (char c : betriebsmittel) {
        const bool gut = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                         c == '.';
        name += gut ? c : '_';
    }
    return name + ".lock";
}

}  // namespace

Maschinensperre::Maschinensperre(const std::filesystem::path& verzeichnis,
                                 const std::vector<std::string>& betriebsmittel) {
    // A refused gateway holds nothing: what it had taken goes again.
    struct Freigabe {
        Maschinensperre& s;
        ~Freigabe() {
            if (s.gehalten()) return;
            for (int fd : s.fds_) ::close(fd);
            s.fds_.clear();
        }
    } freigabe{*this};
    for (const std::string& b : betriebsmittel) {
        const std::filesystem::path datei = verzeichnis / dateiname(b);
        // Readable by all: a gateway of another user must be able to lock it too.
        const mode_t maske = ::umask(0);
        const int fd = ::open(datei.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
        ::umask(maske);
        if (fd < 0) {
            meldung_ = "Sperrdatei " + datei.string() + " lässt sich nicht öffnen: " + std::strerror(errno);
            return;
        }
        fds_.push_back(fd);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            meldung_ = errno == EWOULDBLOCK
                           ? "Ein anderer Rufpilot benutzt schon: " + b
                           : "Sperrdatei " + datei.string() + " lässt sich nicht sperren: " + std::strerror(errno);
            return;
        }
    }
}

Maschinensperre::~Maschinensperre() {
    for (int fd : fds_) ::close(fd);
}

std::vector<std::string> betriebsmittel(const std::filesystem::path& verzeichnis, const std::string& pcm,
                                        const std::function<std::filesystem::path(int)>& portGeraet) {
    const Einstellungen e = einstellungenLesen(verzeichnis / "server.ini");
    std::vector<std::string> hinweise;
    const auto text = dateiAnfangLesen(verzeichnis / kQuellendatei, 64 * 1024);
    const Quelleneinstellungen q = quellenAusText(text ? *text : std::string(), hinweise);
    std::string quelle = "Anrufquelle CAPI";  // controller 1 of the machine's CAPI
    if (q.art == Quellenart::Anrufmonitor)
        quelle = "Anrufquelle Anrufmonitor " + q.monitorHost + ":" + std::to_string(q.monitorPort);
    else if (q.art == Quellenart::Sip)
        quelle = "Anrufquelle SIP " + q.sip.benutzer + "@" + q.sip.registrar;
    return {"Soundkarte " + std::to_string(e.soundkarte), "Tonausgabe " + pcm,
            "Port " + portGeraet(e.comPort == 0 ? 1 : e.comPort).string(), quelle};
}

std::filesystem::path sperrverzeichnis() {
    if (const char* v = std::getenv("RUFPILOT_SPERREN"); v && *v) return v;
    std::error_code ec;
    if (std::filesystem::is_directory("/run/lock", ec) && ::access("/run/lock", W_OK) == 0) return "/run/lock";
    return std::filesystem::temp_directory_path();
}

}  // namespace rufpilot
