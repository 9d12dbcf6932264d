#include "rufpilot/config/quellen_datei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>

#include "rufpilot/config/textdatei.h"

namespace rufpilot {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kHoechstensBytes = 64 * 1024;
constexpr std::size_t kWertMax = 255;

// Host names, user names: visible characters only, nothing a line could split on.
bool sauber(std::string_view wert) {
    if (wert.size() > kWertMax) return false;
    for (char c : wert)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
    return true;
}

std::string_view art(Quellenart a) {
    switch (a) {
        case Quellenart::Sip: return "sip";
        case Quellenart::Anrufmonitor: return "anrufmonitor";
        case Quellenart::Capi: break;
    }
    return "capi";
}

[[noreturn]] void fehler(int code, const fs::path& datei) {
    throw std::system_error(code, std::generic_category(), "Datei kann nicht geschrieben werden: " + datei.string());
}

// The password goes to a temporary file that is private from its creation
// on, then takes the file's place.
void passwortSchreiben(const fs::path& datei, std::string_view passwort) {
    std::string muster = datei.string() + ".XXXXXX";
    const int fd = ::mkostemp(muster.data(), O_CLOEXEC);  // mode 0600
    if (fd < 0) fehler(errno, datei);
    std::string_view rest = passwort;
    int code = 0;
    while (!rest.empty() && code == 0) {
        const ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno != EINTR) code = errno;
        if (n > 0) rest.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::fchmod(fd, S_IRUSR | S_IWUSR) != 0 && code == 0) code = errno;
    if (::close(fd) != 0 && code == 0) code = errno;
    if (code == 0 && ::rename(muster.c_str(), datei.c_str()) != 0) code = errno;
    if (code != 0) {
        ::unlink(muster.c_str());
        fehler(code, datei);
    }
}

}  // namespace

Quelleneinstellungen quellenAusText(std::string_view text, std::vector<std::string>& hinweise) {
    Quelleneinstellungen q;
    int nummer = 0;
    zeilenDurchgehen(text, [&](std::string_view zeile) {
        ++nummer;
        if (zeile.empty() || zeile[0] == '#') return true;
        const std::size_t gleich = zeile.find('=');
        const std::string_view name = zeile.substr(0, gleich);
        const std::string_view wert = gleich == std::string_view::npos ? std::string_view{} : zeile.substr(gleich + 1);
        bool gut = gleich != std::string_view::npos;
        if (!gut) {
        } else if (name == "quelle") {
            if (wert == "capi") q.art = Quellenart::Capi;
            else if (wert == "sip") q.art = Quellenart::Sip;
            else if (wert == "anrufmonitor") q.art = Quellenart::Anrufmonitor;
            else gut = false;
        } else if (name == "registrar" && sauber(wert)) {
            q.sip.registrar = wert;
        } else if (name == "benutzer" && sauber(wert)) {
            q.sip.benutzer = wert;
        } else if (name == "monitor_host" && sauber(wert)) {
            q.monitorHost = wert;
        } else if (name == "monitor_port") {
            unsigned port = 0;
            const auto [ende, ec] = std::from_chars(wert.data(), wert.data() + wert.size(), port);
            gut = ec == std::errc{} && ende == wert.data() + wert.size() && port >= 1 && port <= 65535;
            if (gut) q.monitorPort = static_cast<std::uint16_t>(port);
        } else {
            gut = false;
        }
        if (!gut) hinweise.push_back(std::string(kQuellendatei) + ": Zeile " + std::to_string(nummer) +
                                     " nicht verstanden, Standardwert bleibt");
        return true;
    });
    return q;
}

std::string quellenAlsText(const Quelleneinstellungen& q) {
    // Values that could not be read back are left out rather than written broken.
    std::string t = "quelle=" + std::string(art(q.art)) + "\r\n";
    const auto zeile = [&](const char* name, const std::string& wert) {
        if (sauber(wert)) t += std::string(name) + "=" + wert + "\r\n";
    };
    zeile("registrar", q.sip.registrar);
    zeile("benutzer", q.sip.benutzer);
    zeile("monitor_host", q.monitorHost);
    t += "monitor_port=" + std::to_string(q.monitorPort == 0 ? 1012 : q.monitorPort) + "\r\n";
    return t;
}

Quellenlesung quellenLesen(const fs::path& verzeichnis) {
    Quellenlesung l;
    const fs::path datei = verzeichnis / kQuellendatei;
    if (const auto text = dateiAnfangLesen(datei, kHoechstensBytes)) {
        l.werte = quellenAusText(*text, l.hinweise);
        if (!l.hinweise.empty()) {
            std::error_code ec;
            fs::copy_file(datei, verzeichnis / (std::string(kQuellendatei) + ".defekt"),
                          fs::copy_options::overwrite_existing, ec);
            l.hinweise.push_back(std::string(kQuellendatei) + " fehlerhaft:\t" +
                                 (ec ? "keine Sicherung möglich" : "gesichert als " + std::string(kQuellendatei) + ".defekt"));
        }
    }
    const fs::path passwort = verzeichnis / kPasswortdatei;
    struct stat info {};
    if (::stat(passwort.c_str(), &info) == 0) {
        if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
            ::chmod(passwort.c_str(), S_IRUSR | S_IWUSR);
            l.hinweise.push_back(std::string(kPasswortdatei) + " war für andere lesbar:\tRechte auf 0600 gesetzt");
        }
        if (const auto text = dateiAnfangLesen(passwort, kHoechstensBytes)) {
            l.werte.sip.passwort = text->substr(0, text->find_first_of("\r\n"));
        } else {
            l.hinweise.push_back(std::string(kPasswortdatei) + " nicht lesbar");
        }
    }
    return l;
}

void quellenSchreiben(const fs::path& verzeichnis, const Quelleneinstellungen& q) {
    passwortSchreiben(verzeichnis / kPasswortdatei, q.sip.passwort.substr(0, q.sip.passwort.find_first_of("\r\n")));
    dateiErsetzen(verzeichnis / kQuellendatei, quellenAlsText(q));
}

}  // namespace rufpilot
