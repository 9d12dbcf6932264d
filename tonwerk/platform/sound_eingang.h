// Sound input: a device that fills four queued 8-bit stereo buffers in the
// background; the control polls their done flags from its timer tick.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tonwerk {

class SoundEingang {
public:
    static constexpr int kPuffer = 4;

    virtual ~SoundEingang() = default;
    virtual std::int32_t geraeteAnzahl() = 0;
    // Name and format mask (classic bits: 0x1 11025 Hz mono 8-bit, 0x2 stereo 8-bit,
    // 0x4 mono 16-bit, 0x8 stereo 16-bit, 0x10..0x80 for 22050 Hz, 0x100..0x800 for 44100 Hz).
    // 0 on success, else an error code; the outputs are then left unchanged.
    virtual std::int32_t geraeteInfo(std::int32_t index, std::string& name, std::int32_t& formate) = 0;
    // Opens device `index` for unsigned 8-bit stereo at `abtastrate` Hz.
    virtual std::int32_t oeffnen(std::int32_t index, std::int32_t abtastrate) = 0;
    // Hands buffer `puffer` (memory owned by the caller, valid until schliessen) to the device.
    virtual std::int32_t vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) = 0;
    // Queues a prepared buffer; its done flag is cleared until the device has filled it.
    virtual std::int32_t einreihen(int puffer) = 0;
    virtual std::int32_t starten() = 0;
    virtual bool fertig(int puffer) const = 0;
    // Returns all queued buffers and stops filling.
    virtual std::int32_t zuruecksetzen() = 0;
    virtual std::int32_t schliessen() = 0;
};

}  // namespace tonwerk
