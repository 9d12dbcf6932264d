// Fuzz target: arbitrary audio through the control with arbitrary decoder
// settings. The first bytes choose the settings, the rest is 8-bit stereo audio.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tonwerk/core/bestueckung.h"

namespace {

struct Leser {
    const std::uint8_t* p;
    std::size_t n;
    template <typename T>
    T lies() {
        T v{};
        const std::size_t k = n < sizeof(T) ? n : sizeof(T);
        if (k > 0) std::memcpy(&v, p, k);
        p += k;
        n -= k;
        return v;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace tonwerk;
    Leser l{daten, groesse};
    Bestueckung<> plattform;
    Funkwandler& fw = plattform.fw;

    const auto wahl = l.lies<std::uint8_t>();
    fw.Samplerates(wahl % 3);
    fw.PocBaudRates(static_cast<Integer>((wahl >> 2) & 1));
    if (wahl & 0x80) {  // settings far from their defaults
        fw.SampleFehlerRate(l.lies<std::int8_t>());
        fw.ZVEIPrueflaenge(l.lies<std::int16_t>());
        fw.ZVEIFehlerMax(l.lies<std::int8_t>());
        fw.ZVEIDiffMax(l.lies<std::int8_t>());
        fw.FMSOrtLaenge(l.lies<std::int8_t>());
        fw.FMSVorlaufMin(l.lies<std::int8_t>());
        fw.FMSVorlaufMax(l.lies<std::int8_t>());
        fw.FMScrcCheck(static_cast<Boolean>(l.lies<std::uint8_t>() & 1 ? Wahr : Falsch));
        fw.PocPraambels(l.lies<std::int16_t>());
        fw.RecordPufferSize(l.lies<std::int16_t>());
    }
    fw.SoundStart();
    plattform.eingang.anhaengen(l.p, l.n & ~std::size_t{1});
    plattform.eingang.abschliessen();
    while (plattform.eingang.fuellen() > 0) plattform.timer1.tick();
    fw.Soundstop();
    return 0;
}
