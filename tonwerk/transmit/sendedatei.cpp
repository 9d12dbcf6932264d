#include "tonwerk/transmit/sendedatei.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

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

void SendedateiSchreiben(const std::filesystem::path& pfad, std::span<const std::uint8_t> proben,
                         std::int64_t stilleVorweg) {
    // The RIFF size (data + 36) is 32 bits; a longer file would state a wrapped length.
    constexpr std::uint64_t kMaxDaten = std::numeric_limits<std::uint32_t>::max() - 36;
    if (stilleVorweg < 0 || static_cast<std::uint64_t>(stilleVorweg) > kMaxDaten - proben.size()) {
        throw std::overflow_error("Sendedatei zu groß: " + pfad.string());
    }
    // The old file is removed first so that a file of another owner or a
    // read-only one is reported instead of being silently kept.
    if (::unlink(pfad.c_str()) != 0 && errno != ENOENT) dateifehler("unlink", pfad);
    const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) dateifehler("open", pfad);
    const auto kopf = WavKopf(static_cast<std::uint32_t>(static_cast<std::uint64_t>(stilleVorweg) + proben.size()));
    allesSchreiben(fd, kopf.data(), kopf.size(), pfad);
    static constexpr std::size_t kSekunde = 11025;
    static const std::vector<std::uint8_t> stille(kSekunde, 128);
    for (std::int64_t rest = stilleVorweg; rest > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(rest, kSekunde));
        allesSchreiben(fd, stille.data(), n, pfad);
        rest -= static_cast<std::int64_t>(n);
    }
    allesSchreiben(fd, proben.data(), proben.size(), pfad);
    if (::close(fd) != 0) dateifehler("close", pfad);
}

void SendedateiSenden(const Einstellungen& e, std::string_view name, std::span<const std::uint8_t> proben,
                      SoundAusgabe& ausgabe, std::int64_t stilleVorweg) {
    const auto pfad = sendedateiPfad(e, name);
    SendedateiSchreiben(pfad, proben, stilleVorweg);
    ausgabe.abspielen(pfad);
}

}  // namespace tonwerk
