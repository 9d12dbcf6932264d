#include "tonwerk/platform/alsa_ausgabe.h"

#include <alsa/asoundlib.h>
#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <vector>

namespace tonwerk {
namespace {

// The error's text comes from its code, once: for an errno that is the
// system's text; ALSA's own codes lie beyond errno and get ALSA's words.
[[noreturn]] void alsaFehler(int fehler, const std::string& was) {
    if (-fehler >= SND_ERROR_BEGIN)
        throw std::system_error(std::make_error_code(std::errc::io_error), was + ": " + snd_strerror(fehler));
    throw std::system_error(-fehler, std::system_category(), was);
}

struct SndDatei {
    SNDFILE* datei = nullptr;
    ~SndDatei() {
        if (datei) sf_close(datei);
    }
};

struct AlsaPcm {
    snd_pcm_t* pcm = nullptr;
    ~AlsaPcm() {
        if (pcm) snd_pcm_close(pcm);
    }
};

}  // namespace

void AlsaAusgabe::abspielen(const std::filesystem::path& wavDatei) {
    // Opened here first so that a missing or unreadable file reports the
    // system's own error rather than libsndfile's text.
    int fd = ::open(wavDatei.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::system_error(errno, std::system_category(), "Wiedergabe " + wavDatei.string());
    SF_INFO info{};
    SndDatei datei;
    datei.datei = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (!datei.datei) {
        ::close(fd);
        throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                                "Wiedergabe " + wavDatei.string() + ": " + sf_strerror(nullptr));
    }
    if (info.channels < 1 || info.samplerate < 1)
        throw std::system_error(std::make_error_code(std::errc::invalid_argument),
                                "Wiedergabe " + wavDatei.string() + ": ungültiges Format");

    const int art = info.format & SF_FORMAT_SUBMASK;
    const bool achtBit = (art == SF_FORMAT_PCM_U8 || art == SF_FORMAT_PCM_S8) &&
                         (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV;
    const snd_pcm_format_t format = !achtBit ? SND_PCM_FORMAT_S16
                                    : art == SF_FORMAT_PCM_U8 ? SND_PCM_FORMAT_U8
                                                              : SND_PCM_FORMAT_S8;

    AlsaPcm pcm;
    int fehler = snd_pcm_open(&pcm.pcm, pcm_.c_str(), SND_PCM_STREAM_PLAYBACK, 0);
    if (fehler < 0) alsaFehler(fehler, "Ausgabegerät " + pcm_);
    fehler = snd_pcm_set_params(pcm.pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED,
                                static_cast<unsigned>(info.channels), static_cast<unsigned>(info.samplerate), 1,
                                200000);
    if (fehler < 0) alsaFehler(fehler, "Ausgabegerät " + pcm_);

    const std::size_t kanaele = static_cast<std::size_t>(info.channels);
    constexpr std::size_t kFrames = 4096;
    std::vector<std::uint8_t> roh(achtBit ? kFrames * kanaele : 0);
    std::vector<short> werte(achtBit ? 0 : kFrames * kanaele);
    while (true) {
        // 8-bit WAV data are the very bytes to play, so they are taken raw.
        sf_count_t frames = achtBit ? sf_read_raw(datei.datei, roh.data(), static_cast<sf_count_t>(roh.size())) /
                                          info.channels
                                    : sf_readf_short(datei.datei, werte.data(), kFrames);
        if (frames <= 0) break;
        const void* daten = achtBit ? static_cast<const void*>(roh.data()) : werte.data();
        const std::size_t frameBytes = achtBit ? kanaele : kanaele * sizeof(short);
        snd_pcm_uframes_t rest = static_cast<snd_pcm_uframes_t>(frames);
        const auto* zeiger = static_cast<const std::uint8_t*>(daten);
        while (rest > 0) {
            snd_pcm_sframes_t n = snd_pcm_writei(pcm.pcm, zeiger, rest);
            if (n < 0) {
                int erholt = snd_pcm_recover(pcm.pcm, static_cast<int>(n), 1);
                if (erholt < 0) alsaFehler(erholt, "Wiedergabe auf " + pcm_);
                continue;
            }
            rest -= static_cast<snd_pcm_uframes_t>(n);
            zeiger += static_cast<std::size_t>(n) * frameBytes;
        }
    }
    fehler = snd_pcm_drain(pcm.pcm);
    if (fehler < 0) alsaFehler(fehler, "Wiedergabe auf " + pcm_);
}

}  // namespace tonwerk
