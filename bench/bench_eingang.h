// A sound input whose four buffers always hold the same audio and are always
// full: the dispatcher then runs back to back, which is what is measured.
#pragma once

#include <cstring>
#include <vector>

#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/ohne_hardware.h"

namespace tonwerk::bench {

class DauerEingang : public SoundEingang {
public:
    explicit DauerEingang(std::vector<std::uint8_t> muster) : muster_(std::move(muster)) {}
    std::int32_t geraeteAnzahl() override { return 1; }
    std::int32_t geraeteInfo(std::int32_t, std::string&, std::int32_t&) override { return 0; }
    std::int32_t oeffnen(std::int32_t, std::int32_t) override { return 0; }
    std::int32_t vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) override {
        // Each buffer takes its own stretch of the pattern, so that runs continue across buffers.
        for (std::size_t i = 0; i < bytes; ++i)
            daten[i] = muster_[(static_cast<std::size_t>(puffer) * bytes + i) % muster_.size()];
        return 0;
    }
    std::int32_t einreihen(int) override { return 0; }
    std::int32_t starten() override { return 0; }
    bool fertig(int) const override { return true; }
    std::int32_t zuruecksetzen() override { return 0; }
    std::int32_t schliessen() override { return 0; }

private:
    std::vector<std::uint8_t> muster_;
};

// A control on DauerEingang at 44100 Hz, started; tick() processes one buffer.
struct DauerKontrolle {
    DauerEingang eingang;
    KeineAusgabe ausgabe;
    KeinAnschluss anschluss;
    HandZeitgeber timer1, timer2;
    SchrittUhr uhr;
    Funkwandler fw{Plattform{eingang, ausgabe, anschluss, timer1, timer2, uhr}};
    explicit DauerKontrolle(std::vector<std::uint8_t> muster, Long samplerates = 2) : eingang(std::move(muster)) {
        fw.Samplerates(samplerates);
        fw.SoundStart();
    }
    long framesJePuffer() const { return fw.RecordPufferSize(); }
};

}  // namespace tonwerk::bench
