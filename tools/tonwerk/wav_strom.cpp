// WAV read from a stream as it arrives: no seeking, so the header is parsed here
// chunk by chunk up to the audio, which is then converted block by block.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "audioquelle.h"
#include "bedienfehler.h"

namespace tonwerk::werkzeug {

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kErweitert = 0xFFFE;

std::uint32_t le(const std::uint8_t* b, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[i];
    return v;
}

class WavStrom : public AudioQuelle {
public:
    WavStrom(std::FILE* ein, std::vector<std::uint8_t> schonGelesen) : ein_(ein), vorrat_(std::move(schonGelesen)) {
        std::uint8_t kopf[12];
        if (!holen(kopf, 12) || std::memcmp(kopf, "RIFF", 4) != 0 || std::memcmp(kopf + 8, "WAVE", 4) != 0)
            fehler("kein RIFF/WAVE-Kopf");
        bool formatGelesen = false;
        while (true) {
            std::uint8_t chunk[8];
            if (!holen(chunk, 8)) fehler("keine Audiodaten (data-Block fehlt)");
            const std::uint32_t groesse = le(chunk + 4, 4);
            if (std::memcmp(chunk, "data", 4) == 0) {
                if (!formatGelesen) fehler("data-Block vor dem fmt-Block");
                // 0 and 0xFFFFFFFF: written by a recorder that could not go back
                // to the header, so the audio runs to the end of the stream.
                uebrig_ = groesse == 0 || groesse == 0xFFFFFFFFu ? UINT64_MAX : groesse;
                return;
            }
            const std::uint64_t mitFuellbyte = std::uint64_t{groesse} + (groesse & 1u);
            if (std::memcmp(chunk, "fmt ", 4) == 0) {
                if (groesse < 16 || groesse > 4096) fehler("fmt-Block mit " + std::to_string(groesse) + " Bytes");
                std::vector<std::uint8_t> inhalt(mitFuellbyte);
                if (!holen(inhalt.data(), inhalt.size())) fehler("Kopf bricht ab");
                format(inhalt);
                formatGelesen = true;
            } else {
                // Other chunks (metadata) are passed over piece by piece.
                std::uint8_t weg[4096];
                for (std::uint64_t r = mitFuellbyte; r > 0;) {
                    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(r, sizeof weg));
                    if (!holen(weg, n)) fehler("Kopf bricht ab");
                    r -= n;
                }
            }
        }
    }

    int abtastrate() const override { return rate_; }
    int kanaele() const override { return kanaele_; }
    std::int64_t frames() const override { return -1; }

    std::size_t lesen(std::vector<std::int16_t>& samples, std::size_t maxFrames) override {
        const std::size_t frameBytes = breite_ * static_cast<std::size_t>(kanaele_);
        // Whole frames only; a frame cut by the end of the stream is dropped.
        const auto wunsch = static_cast<std::size_t>(std::min<std::uint64_t>(maxFrames * frameBytes, uebrig_));
        bytes_.resize(wunsch - wunsch % frameBytes);
        const std::size_t n = holenBis(bytes_.data(), bytes_.size());
        const std::size_t frames = n / frameBytes;
        if (uebrig_ != UINT64_MAX) uebrig_ -= n;
        samples.resize(frames * static_cast<std::size_t>(kanaele_));
        for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = wert(bytes_.data() + i * breite_);
        return frames;
    }

private:
    std::FILE* ein_;
    std::vector<std::uint8_t> vorrat_;  // bytes taken before, handed out first
    std::size_t vorratGenommen_ = 0;
    std::vector<std::uint8_t> bytes_;
    std::uint64_t uebrig_ = 0;  // audio bytes still to come
    int rate_ = 0;
    int kanaele_ = 0;
    std::size_t breite_ = 0;  // bytes per sample
    bool gleitkomma_ = false;

    [[noreturn]] static void fehler(const std::string& was) {
        throw std::runtime_error("Standardeingabe: WAV nicht lesbar: " + was);
    }

    // Up to `n` bytes, fewer only at the end of the stream.
    std::size_t holenBis(std::uint8_t* ziel, std::size_t n) {
        std::size_t aus = std::min(n, vorrat_.size() - vorratGenommen_);
        std::copy_n(vorrat_.begin() + static_cast<std::ptrdiff_t>(vorratGenommen_), aus, ziel);
        vorratGenommen_ += aus;
        while (aus < n) {
            const std::size_t r = std::fread(ziel + aus, 1, n - aus, ein_);
            if (r == 0) break;
            aus += r;
        }
        return aus;
    }
    bool holen(std::uint8_t* ziel, std::size_t n) { return holenBis(ziel, n) == n; }

    void format(const std::vector<std::uint8_t>& f) {
        std::uint16_t art = static_cast<std::uint16_t>(le(f.data(), 2));
        kanaele_ = static_cast<int>(le(f.data() + 2, 2));
        rate_ = static_cast<int>(le(f.data() + 4, 4));
        const auto bits = le(f.data() + 14, 2);
        // The extensible header names the real format in its sub-format GUID.
        if (art == kErweitert && f.size() >= 26) art = static_cast<std::uint16_t>(le(f.data() + 24, 2));
        if (kanaele_ < 1 || kanaele_ > 2) fehler(std::to_string(kanaele_) + " Kanäle; nur Mono und Stereo");
        if (rate_ <= 0) fehler("Abtastrate 0");
        gleitkomma_ = art == kFloat;
        if (!((art == kPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
              (art == kFloat && (bits == 32 || bits == 64))))
            fehler("Format " + std::to_string(art) + " mit " + std::to_string(bits) +
                   " Bit; lesbar sind PCM mit 8, 16, 24, 32 Bit und Gleitkomma mit 32, 64 Bit");
        breite_ = bits / 8;
    }

    std::int16_t wert(const std::uint8_t* b) const {
        if (gleitkomma_) {
            double v = 0;
            if (breite_ == 4) {
                float f;
                std::memcpy(&f, b, 4);  // little-endian host
                v = f;
            } else {
                std::memcpy(&v, b, 8);
            }
            v = std::clamp(v * 32767.0, -32768.0, 32767.0);
            return static_cast<std::int16_t>(std::isnan(v) ? 0 : std::lrint(v));
        }
        switch (breite_) {
            case 1: return static_cast<std::int16_t>((b[0] - 128) * 256);
            case 2: return static_cast<std::int16_t>(le(b, 2));
            default: return static_cast<std::int16_t>(le(b + breite_ - 2, 2));  // the top 16 bits
        }
    }
};

}  // namespace

std::unique_ptr<AudioQuelle> wavStromOeffnen(std::FILE* ein, std::vector<std::uint8_t> schonGelesen) {
    return std::make_unique<WavStrom>(ein, std::move(schonGelesen));
}

std::unique_ptr<AudioQuelle> eingabeOeffnen(std::FILE* ein, int abtastrate, int kanaele) {
    std::vector<std::uint8_t> anfang(4);
    anfang.resize(std::fread(anfang.data(), 1, 4, ein));
    if (anfang.size() == 4 && std::memcmp(anfang.data(), "RIFF", 4) == 0)
        return wavStromOeffnen(ein, std::move(anfang));
    if (abtastrate <= 0)
        throw Bedienfehler("Standardeingabe ist keine WAV-Datei; für rohe 16-Bit-Samples --rate angeben");
    return rohdatenOeffnen(ein, abtastrate, kanaele, std::move(anfang));
}

}  // namespace tonwerk::werkzeug
