// Sound input on ALSA. A background reader thread plays the part of the sound
// driver: it fills the queued buffers in the order they were queued and sets
// their done flags; the control only polls those flags from its tick.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tonwerk/platform/sound_eingang.h"

typedef struct _snd_pcm snd_pcm_t;

namespace tonwerk {

class AlsaEingang : public SoundEingang {
public:
    // Devices: "default" first, then every PCM ALSA lists for capture.
    AlsaEingang();
    // Devices: exactly these ALSA PCM names, in this order.
    explicit AlsaEingang(std::vector<std::string> pcmNamen);
    ~AlsaEingang() override;
    AlsaEingang(const AlsaEingang&) = delete;
    AlsaEingang& operator=(const AlsaEingang&) = delete;

    std::int32_t geraeteAnzahl() override;
    std::int32_t geraeteInfo(std::int32_t index, std::string& name, std::int32_t& formate) override;
    std::int32_t oeffnen(std::int32_t index, std::int32_t abtastrate) override;
    std::int32_t vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) override;
    std::int32_t einreihen(int puffer) override;
    std::int32_t starten() override;
    bool fertig(int puffer) const override;
    std::int32_t zuruecksetzen() override;
    std::int32_t schliessen() override;

    // The ALSA PCM name behind device `index` (empty when there is none).
    std::string pcmName(std::int32_t index);

    // For tests, which must synchronise on what the reader did rather than on time.
    // While held, the reader takes no further buffer from the queue (one it is
    // filling is finished).
    void leserHalten(bool halten);
    // Waits until `anzahl` buffers have been filled since the device was opened;
    // false when the reader has not got there within `hoechstens` (a broken device).
    bool warteAufGefuellt(std::uint64_t anzahl, std::chrono::milliseconds hoechstens = std::chrono::seconds(60));

private:
    struct Geraet {
        std::string pcm;
        std::string beschreibung;
    };
    struct Puffer {
        std::uint8_t* daten = nullptr;
        std::size_t bytes = 0;
        bool eingereiht = false;  // guarded by mutex_
        std::atomic<bool> fertig{false};
    };

    void geraeteSuchen();
    void lesen();
    void leserAnhalten();
    bool gueltig(int puffer) const { return puffer >= 0 && puffer < kPuffer; }

    bool festeListe_ = false;
    std::vector<Geraet> geraete_;
    snd_pcm_t* pcm_ = nullptr;
    // Why the last open failed; what a call on the unopened device reports.
    std::int32_t oeffnungsfehler_ = -EBADFD;
    std::array<Puffer, kPuffer> puffer_;

    // Buffers queued with the device, in order; a ring since each buffer is
    // queued at most once.
    std::mutex mutex_;
    std::condition_variable wecker_;
    std::array<int, kPuffer> schlange_{};
    int schlangeAnfang_ = 0;
    int schlangeLaenge_ = 0;
    bool gehalten_ = false;       // guarded by mutex_
    std::uint64_t gefuellt_ = 0;  // guarded by mutex_
    std::condition_variable gefuelltWecker_;

    std::thread leser_;
    std::atomic<bool> anhalten_{false};
};

}  // namespace tonwerk
