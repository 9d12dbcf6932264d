#include "wav_datenlaenge.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace tonwerk::werkzeug {

namespace {

constexpr int kMaxChunks = 64;

bool lesen(int fd, std::int64_t stelle, std::uint8_t* ziel, std::size_t n) {
    return ::pread(fd, ziel, n, static_cast<off_t>(stelle)) == static_cast<ssize_t>(n);
}

std::uint32_t le32(const std::uint8_t* d) {
    return d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

// A chunk ID is four printable ASCII characters; audio rarely looks like one.
bool chunkKennung(const std::uint8_t* d) {
    return std::all_of(d, d + 4, [](std::uint8_t c) { return c >= 0x20 && c <= 0x7E; });
}

// Whether the bytes from `stelle` to the end are chunks (a tail shorter than a
// chunk header counts as padding).
bool nurChunks(int fd, std::int64_t stelle, std::int64_t laenge) {
    for (int i = 0; i < kMaxChunks && laenge - stelle >= 8; ++i) {
        std::array<std::uint8_t, 8> kopf{};
        if (!lesen(fd, stelle, kopf.data(), kopf.size()) || !chunkKennung(kopf.data())) return false;
        const std::int64_t groesse = le32(kopf.data() + 4);
        if (groesse > laenge - stelle - 8) return false;
        stelle += 8 + groesse + (groesse & 1);
    }
    return laenge - stelle < 8;
}

}  // namespace

std::optional<WavDatenlaenge> wavDatenlaengeKorrigiert(int fd, std::int64_t laenge) {
    std::array<std::uint8_t, 12> riff{};
    if (!lesen(fd, 0, riff.data(), riff.size()) || std::memcmp(riff.data(), "RIFF", 4) != 0 ||
        std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::uint32_t blockAusrichtung = 1;
    std::int64_t stelle = 12;
    for (int i = 0; i < kMaxChunks && laenge - stelle >= 8; ++i) {
        std::array<std::uint8_t, 8> kopf{};
        if (!lesen(fd, stelle, kopf.data(), kopf.size())) return std::nullopt;
        const std::uint32_t groesse = le32(kopf.data() + 4);
        const std::int64_t inhalt = stelle + 8;
        if (std::memcmp(kopf.data(), "fmt ", 4) == 0 && groesse >= 16) {
            std::array<std::uint8_t, 2> b{};
            if (lesen(fd, inhalt + 12, b.data(), b.size())) blockAusrichtung = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(b[0] | b[1] << 8));
        } else if (std::memcmp(kopf.data(), "data", 4) == 0) {
            const std::int64_t folgt = laenge - inhalt;
            if (groesse >= folgt || nurChunks(fd, inhalt + groesse + (groesse & 1), laenge)) return std::nullopt;
            constexpr std::int64_t kMax = std::numeric_limits<std::uint32_t>::max();
            std::int64_t vorhanden = std::min(folgt, kMax - inhalt);
            vorhanden -= vorhanden % blockAusrichtung;
            if (vorhanden <= groesse) return std::nullopt;
            return WavDatenlaenge{inhalt, groesse, static_cast<std::uint32_t>(vorhanden),
                                  static_cast<std::uint32_t>(inhalt - 8 + vorhanden)};
        }
        stelle = inhalt + groesse + (groesse & 1);
    }
    return std::nullopt;
}

}  // namespace tonwerk::werkzeug
