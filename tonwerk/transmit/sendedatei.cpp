#include "tonwerk/transmit/sendedatei.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "tonwerk/transmit/wav_kopf.h"

namespace tonwerk {

namespace {

[[noreturn]] void dateifehler(const std::string& was, const std::filesystem::path& pfad) {
    throw std::system_error(errno, std::generic_category(), was + " " + pfad.string());
}

void allesSchreiben(int fd, const std::uint8_t* daten, std::size_t n, const std::filesystem::path& pfad) {
    while (n > 0) {
        const ssize_t r = ::write(fd, daten, n);
        if (r < 0) {
            if (errno == EINTR) continue;
            const int fehler = errno;
            ::close(fd);
            errno = fehler;
            dateifehler("write", pfad);
        }
        daten += r;
        n -= static_cast<std::size_t>(r);
    }
}

}  // namespace

std::filesystem::path standardSendeverzeichnis() {
    if (const char* laufzeit = std::getenv("XDG_RUNTIME_DIR"); laufzeit != nullptr && *laufzeit != '\0') {
        return laufzeit;
    }
    std::error_code ec;
    auto tmp = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : tmp;
}

std::filesystem::path sendedateiPfad(const Einstellungen& e, std::string_view name) {
    const auto& verzeichnis = e.Sendeverzeichnis.empty() ? standardSendeverzeichnis() : e.Sendeverzeichnis;
    return verzeichnis / std::filesystem::path(name);
}

void SendedateiSchreiben(const std::filesystem::path& pfad, std::span<const std::uint8_t> proben) {
    // The old file is removed first so that a file of another owner or a
    // read-only one is reported instead of being silently kept.
    if (::unlink(pfad.c_str()) != 0 && errno != ENOENT) dateifehler("unlink", pfad);
    const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) dateifehler("open", pfad);
    const auto kopf = WavKopf(static_cast<std::uint32_t>(proben.size()));
    allesSchreiben(fd, kopf.data(), kopf.size(), pfad);
    allesSchreiben(fd, proben.data(), proben.size(), pfad);
    if (::close(fd) != 0) dateifehler("close", pfad);
}

void SendedateiSenden(const Einstellungen& e, std::string_view name, std::span<const std::uint8_t> proben,
                      SoundAusgabe& ausgabe) {
    const auto pfad = sendedateiPfad(e, name);
    SendedateiSchreiben(pfad, proben);
    ausgabe.abspielen(pfad);
}

}  // namespace tonwerk
