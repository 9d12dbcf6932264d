// A live ALSA input that also hands every filled buffer to a second reader (the
// control for the other POCSAG bit rate), in the thread that polls it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "tonwerk/platform/alsa_eingang.h"

namespace tonwerk::werkzeug {

class AbzweigEingang : public AlsaEingang {
public:
    using AlsaEingang::AlsaEingang;

    // Hears each buffer once, when its done flag is first seen set.
    std::function<void(const std::uint8_t*, std::size_t)> abzweig;

    std::int32_t vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) override;
    std::int32_t einreihen(int puffer) override;
    bool fertig(int puffer) const override;

private:
    struct Puffer {
        std::uint8_t* daten = nullptr;
        std::size_t bytes = 0;
        bool weitergegeben = true;
    };
    mutable std::array<Puffer, kPuffer> puffer_{};
};

}  // namespace tonwerk::werkzeug
