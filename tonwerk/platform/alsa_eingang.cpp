#include "tonwerk/platform/alsa_eingang.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace tonwerk {
namespace {

// Every ALSA error is returned as ALSA's negative error code, so it never
// collides with the control's own small positive results.
constexpr std::int32_t kKeinGeraet = -ENODEV;

struct HintListe {
    void** hints = nullptr;
    ~HintListe() {
        if (hints) snd_device_name_free_hint(hints);
    }
};

std::string hintText(void* hint, const char* feld) {
    char* wert = snd_device_name_get_hint(hint, feld);
    if (!wert) return {};
    std::string text(wert);
    std::free(wert);
    return text;
}

struct HwParams {
    snd_pcm_hw_params_t* p = nullptr;
    HwParams() { snd_pcm_hw_params_malloc(&p); }
    ~HwParams() { snd_pcm_hw_params_free(p); }
};

// Classic format bits: for each rate a group of four bits, mono 8-bit, stereo
// 8-bit, mono 16-bit, stereo 16-bit; 11025 Hz in bits 0..3, 22050 in 4..7,
// 44100 in 8..11.
std::int32_t formatMaske(snd_pcm_t* pcm) {
    HwParams alle, probe;
    if (!alle.p || !probe.p || snd_pcm_hw_params_any(pcm, alle.p) < 0) return 0;
    constexpr unsigned kRaten[] = {11025, 22050, 44100};
    struct Art {
        snd_pcm_format_t format;
        unsigned kanaele;
    };
    constexpr Art kArten[] = {{SND_PCM_FORMAT_U8, 1},
                              {SND_PCM_FORMAT_U8, 2},
                              {SND_PCM_FORMAT_S16_LE, 1},
                              {SND_PCM_FORMAT_S16_LE, 2}};
    std::int32_t maske = 0;
    for (int r = 0; r < 3; ++r) {
        for (int a = 0; a < 4; ++a) {
            snd_pcm_hw_params_copy(probe.p, alle.p);
            bool geht = snd_pcm_hw_params_test_access(pcm, probe.p, SND_PCM_ACCESS_RW_INTERLEAVED) == 0 &&
                        snd_pcm_hw_params_set_access(pcm, probe.p, SND_PCM_ACCESS_RW_INTERLEAVED) == 0 &&
                        snd_pcm_hw_params_test_format(pcm, probe.p, kArten[a].format) == 0 &&
                        snd_pcm_hw_params_set_format(pcm, probe.p, kArten[a].format) == 0 &&
                        snd_pcm_hw_params_test_channels(pcm, probe.p, kArten[a].kanaele) == 0 &&
                        snd_pcm_hw_params_set_channels(pcm, probe.p, kArten[a].kanaele) == 0 &&
                        snd_pcm_hw_params_test_rate(pcm, probe.p, kRaten[r], 0) == 0;
            if (geht) maske |= 1 << (r * 4 + a);
        }
    }
    return maske;
}

}  // namespace

AlsaEingang::AlsaEingang() = default;

AlsaEingang::AlsaEingang(std::vector<std::string> pcmNamen) : festeListe_(true) {
    for (auto& name : pcmNamen) geraete_.push_back({name, name});
}

AlsaEingang::~AlsaEingang() { schliessen(); }

void AlsaEingang::geraeteSuchen() {
    if (festeListe_) return;
    geraete_.clear();
    geraete_.push_back({"default", "default"});
    HintListe liste;
    if (snd_device_name_hint(-1, "pcm", &liste.hints) < 0) return;
    for (void** h = liste.hints; *h; ++h) {
        std::string name = hintText(*h, "NAME");
        std::string richtung = hintText(*h, "IOID");
        if (name.empty() || (!richtung.empty() && richtung != "Input")) continue;
        std::string beschreibung = hintText(*h, "DESC");
        // ALSA describes a device in up to two lines; a device name is one.
        std::replace(beschreibung.begin(), beschreibung.end(), '\n', ' ');
        if (beschreibung.empty()) beschreibung = name;
        if (name == "default") {
            geraete_.front().beschreibung = beschreibung;
        } else {
            geraete_.push_back({name, beschreibung});
        }
    }
}

std::int32_t AlsaEingang::geraeteAnzahl() {
    geraeteSuchen();
    return static_cast<std::int32_t>(geraete_.size());
}

std::string AlsaEingang::pcmName(std::int32_t index) {
    if (geraete_.empty()) geraeteSuchen();
    if (index < 0 || index >= static_cast<std::int32_t>(geraete_.size())) return {};
    return geraete_[index].pcm;
}

std::int32_t AlsaEingang::geraeteInfo(std::int32_t index, std::string& name, std::int32_t& formate) {
    if (geraete_.empty()) geraeteSuchen();
    if (index < 0 || index >= static_cast<std::int32_t>(geraete_.size())) return kKeinGeraet;
    snd_pcm_t* probe = nullptr;
    int fehler = snd_pcm_open(&probe, geraete_[index].pcm.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (fehler < 0) return fehler;
    formate = formatMaske(probe);
    snd_pcm_close(probe);
    name = geraete_[index].beschreibung;
    return 0;
}

std::int32_t AlsaEingang::oeffnen(std::int32_t index, std::int32_t abtastrate) {
    schliessen();
    if (geraete_.empty()) geraeteSuchen();
    if (index < 0 || index >= static_cast<std::int32_t>(geraete_.size())) return oeffnungsfehler_ = kKeinGeraet;
    snd_pcm_t* pcm = nullptr;
    int fehler = snd_pcm_open(&pcm, geraete_[index].pcm.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (fehler < 0) return oeffnungsfehler_ = fehler;
    HwParams hw;
    unsigned rate = static_cast<unsigned>(abtastrate);
    if (!hw.p) fehler = -ENOMEM;
    if (fehler == 0) fehler = snd_pcm_hw_params_any(pcm, hw.p);
    if (fehler >= 0) fehler = snd_pcm_hw_params_set_access(pcm, hw.p, SND_PCM_ACCESS_RW_INTERLEAVED);
    if (fehler >= 0) fehler = snd_pcm_hw_params_set_format(pcm, hw.p, SND_PCM_FORMAT_U8);
    if (fehler >= 0) fehler = snd_pcm_hw_params_set_channels(pcm, hw.p, 2);
    if (fehler >= 0) fehler = snd_pcm_hw_params_set_rate(pcm, hw.p, rate, 0);
    if (fehler >= 0) {
        // Half a second of device buffer rides out a slow tick of the host;
        // the device may round these, which is harmless.
        unsigned puffer = 500000, periode = 50000;
        snd_pcm_hw_params_set_buffer_time_near(pcm, hw.p, &puffer, nullptr);
        snd_pcm_hw_params_set_period_time_near(pcm, hw.p, &periode, nullptr);
        fehler = snd_pcm_hw_params(pcm, hw.p);
    }
    if (fehler < 0) {
        snd_pcm_close(pcm);
        return oeffnungsfehler_ = fehler;
    }
    pcm_ = pcm;
    oeffnungsfehler_ = -EBADFD;
    for (auto& p : puffer_) {
        p.daten = nullptr;
        p.bytes = 0;
        p.eingereiht = false;
        p.fertig.store(false);
    }
    std::lock_guard lock(mutex_);
    schlangeAnfang_ = schlangeLaenge_ = 0;
    gefuellt_ = 0;
    return 0;
}

void AlsaEingang::leserHalten(bool halten) {
    {
        std::lock_guard lock(mutex_);
        gehalten_ = halten;
    }
    wecker_.notify_one();
}

bool AlsaEingang::warteAufGefuellt(std::uint64_t anzahl, std::chrono::milliseconds hoechstens) {
    std::unique_lock lock(mutex_);
    return gefuelltWecker_.wait_for(lock, hoechstens, [&] { return gefuellt_ >= anzahl; });
}

std::int32_t AlsaEingang::vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) {
    if (!pcm_) return oeffnungsfehler_;
    if (!gueltig(puffer) || !daten) return -EINVAL;
    std::lock_guard lock(mutex_);
    if (puffer_[puffer].eingereiht) return -EBUSY;
    puffer_[puffer].daten = daten;
    puffer_[puffer].bytes = bytes;
    puffer_[puffer].fertig.store(false);
    return 0;
}

std::int32_t AlsaEingang::einreihen(int puffer) {
    if (!pcm_) return oeffnungsfehler_;
    if (!gueltig(puffer) || !puffer_[puffer].daten) return -EINVAL;
    {
        std::lock_guard lock(mutex_);
        Puffer& p = puffer_[puffer];
        if (p.eingereiht) return -EBUSY;
        p.fertig.store(false);
        p.eingereiht = true;
        schlange_[(schlangeAnfang_ + schlangeLaenge_) % kPuffer] = puffer;
        ++schlangeLaenge_;
    }
    wecker_.notify_one();
    return 0;
}

std::int32_t AlsaEingang::starten() {
    if (!pcm_) return oeffnungsfehler_;
    if (leser_.joinable()) return 0;
    anhalten_.store(false);
    if (snd_pcm_state(pcm_) == SND_PCM_STATE_SETUP) snd_pcm_prepare(pcm_);
    int fehler = snd_pcm_start(pcm_);
    if (fehler < 0 && snd_pcm_state(pcm_) != SND_PCM_STATE_RUNNING) return fehler;
    leser_ = std::thread([this] { lesen(); });
    return 0;
}

bool AlsaEingang::fertig(int puffer) const {
    return gueltig(puffer) && puffer_[puffer].fertig.load(std::memory_order_acquire);
}

void AlsaEingang::lesen() {
    while (true) {
        int b;
        {
            std::unique_lock lock(mutex_);
            wecker_.wait(lock, [this] { return anhalten_.load() || (!gehalten_ && schlangeLaenge_ > 0); });
            if (anhalten_.load()) return;
            b = schlange_[schlangeAnfang_];
        }
        Puffer& p = puffer_[b];
        const snd_pcm_uframes_t frames = p.bytes / 2;
        snd_pcm_uframes_t gelesen = 0;
        while (gelesen < frames) {
            if (anhalten_.load()) return;
            if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) snd_pcm_start(pcm_);
            int bereit = snd_pcm_wait(pcm_, 100);
            if (bereit == 0) continue;
            snd_pcm_sframes_t n = bereit < 0 ? bereit : snd_pcm_readi(pcm_, p.daten + 2 * gelesen, frames - gelesen);
            if (n == -EAGAIN) continue;
            if (n < 0) {
                // An overrun (no buffer was queued in time) loses audio, as with
                // any sound card; anything worse is retried until stopped.
                if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                continue;
            }
            gelesen += static_cast<snd_pcm_uframes_t>(n);
        }
        {
            std::lock_guard lock(mutex_);
            schlangeAnfang_ = (schlangeAnfang_ + 1) % kPuffer;
            --schlangeLaenge_;
            p.eingereiht = false;
            p.fertig.store(true, std::memory_order_release);
            ++gefuellt_;
        }
        gefuelltWecker_.notify_all();
    }
}

void AlsaEingang::leserAnhalten() {
    if (!leser_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        anhalten_.store(true);
    }
    wecker_.notify_one();
    leser_.join();
}

std::int32_t AlsaEingang::zuruecksetzen() {
    if (!pcm_) return oeffnungsfehler_;
    leserAnhalten();
    snd_pcm_drop(pcm_);
    // Every buffer still queued comes back marked done, as far as it got.
    std::lock_guard lock(mutex_);
    for (; schlangeLaenge_ > 0; --schlangeLaenge_) {
        Puffer& p = puffer_[schlange_[schlangeAnfang_]];
        p.eingereiht = false;
        p.fertig.store(true, std::memory_order_release);
        schlangeAnfang_ = (schlangeAnfang_ + 1) % kPuffer;
    }
    schlangeAnfang_ = 0;
    return 0;
}

std::int32_t AlsaEingang::schliessen() {
    if (!pcm_) return oeffnungsfehler_;
    zuruecksetzen();
    int fehler = snd_pcm_close(pcm_);
    pcm_ = nullptr;
    return fehler;
}

}  // namespace tonwerk
