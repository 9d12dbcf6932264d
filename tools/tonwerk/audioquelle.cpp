#include "audioquelle.h"

#include <sndfile.h>

#include <stdexcept>

namespace tonwerk::werkzeug {

void nachAchtBitStereo(const std::int16_t* samples, std::size_t frames, int kanaele, std::vector<std::uint8_t>& stereo) {
    const auto achtBit = [](std::int16_t s) { return static_cast<std::uint8_t>((s >> 8) + 128); };
    for (std::size_t i = 0; i < frames; ++i) {
        const std::int16_t* f = samples + i * static_cast<std::size_t>(kanaele);
        stereo.push_back(achtBit(f[0]));
        stereo.push_back(kanaele > 1 ? achtBit(f[1]) : std::uint8_t{128});
    }
}

namespace {

class SndDatei : public AudioQuelle {
public:
    explicit SndDatei(const std::string& pfad) {
        datei_ = sf_open(pfad.c_str(), SFM_READ, &info_);
        if (!datei_) throw std::runtime_error(pfad + ": " + sf_strerror(nullptr));
        if (info_.channels < 1 || info_.channels > 2) {
            sf_close(datei_);
            throw std::runtime_error(pfad + ": " + std::to_string(info_.channels) +
                                     " Kanäle; nur Mono und Stereo werden unterstützt");
        }
    }
    ~SndDatei() override { sf_close(datei_); }
    int abtastrate() const override { return info_.samplerate; }
    int kanaele() const override { return info_.channels; }
    std::int64_t frames() const override { return info_.frames; }
    std::size_t lesen(std::vector<std::uint8_t>& stereo, std::size_t maxFrames) override {
        puffer_.resize(maxFrames * static_cast<std::size_t>(info_.channels));
        const sf_count_t n = sf_readf_short(datei_, puffer_.data(), static_cast<sf_count_t>(maxFrames));
        if (n <= 0) return 0;
        nachAchtBitStereo(puffer_.data(), static_cast<std::size_t>(n), info_.channels, stereo);
        return static_cast<std::size_t>(n);
    }

private:
    SF_INFO info_{};
    SNDFILE* datei_ = nullptr;
    std::vector<std::int16_t> puffer_;
};

class RohStrom : public AudioQuelle {
public:
    RohStrom(std::FILE* ein, int abtastrate, int kanaele) : ein_(ein), rate_(abtastrate), kanaele_(kanaele) {
        if (kanaele < 1 || kanaele > 2) throw std::runtime_error("--channels muss 1 oder 2 sein");
    }
    int abtastrate() const override { return rate_; }
    int kanaele() const override { return kanaele_; }
    std::int64_t frames() const override { return -1; }
    std::size_t lesen(std::vector<std::uint8_t>& stereo, std::size_t maxFrames) override {
        const std::size_t frameBytes = 2 * static_cast<std::size_t>(kanaele_);
        bytes_.resize(rest_.size() + maxFrames * frameBytes);
        std::copy(rest_.begin(), rest_.end(), bytes_.begin());
        const std::size_t gelesen = rest_.size() + std::fread(bytes_.data() + rest_.size(), 1,
                                                              bytes_.size() - rest_.size(), ein_);
        const std::size_t n = gelesen / frameBytes;
        rest_.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(n * frameBytes),
                     bytes_.begin() + static_cast<std::ptrdiff_t>(gelesen));
        samples_.resize(n * static_cast<std::size_t>(kanaele_));
        for (std::size_t i = 0; i < samples_.size(); ++i)  // little-endian
            samples_[i] = static_cast<std::int16_t>(bytes_[2 * i] | (bytes_[2 * i + 1] << 8));
        nachAchtBitStereo(samples_.data(), n, kanaele_, stereo);
        return n;
    }

private:
    std::FILE* ein_;
    int rate_;
    int kanaele_;
    std::vector<std::uint8_t> bytes_, rest_;
    std::vector<std::int16_t> samples_;
};

}  // namespace

std::unique_ptr<AudioQuelle> dateiOeffnen(const std::string& pfad) { return std::make_unique<SndDatei>(pfad); }

std::unique_ptr<AudioQuelle> rohdatenOeffnen(std::FILE* ein, int abtastrate, int kanaele) {
    return std::make_unique<RohStrom>(ein, abtastrate, kanaele);
}

}  // namespace tonwerk::werkzeug
