// A long recording fed to a test control a piece at a time: the simulated input
// drops delivered audio by moving what is left, so handing it minutes of audio at
// once costs time in proportion to the square of the length.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "test_plattform.h"

namespace tonwerk::test {

// Feeds `stereo` (8-bit frames) and closes it as TestKontrolle::einspeisen does;
// `nachPuffer()` runs after each buffer the control has processed.
template <class NachPuffer>
void stueckweiseEinspeisen(TestKontrolle& t, std::span<const std::uint8_t> stereo, NachPuffer nachPuffer) {
    const std::size_t puffer = 2 * static_cast<std::size_t>(t.fw.RecordPufferSize());
    const std::size_t stueck = 32 * puffer;
    for (std::size_t ab = 0; ab < stereo.size(); ab += stueck) {
        t.eingang.anhaengen(stereo.data() + ab, std::min(stueck, stereo.size() - ab));
        // Only whole buffers: a short one would be padded, not continued.
        while (t.eingang.restBytes() >= puffer && t.eingang.fuellen() > 0) {
            t.timer1.tick();
            nachPuffer();
        }
    }
    t.eingang.abschliessen();
    while (t.eingang.fuellen() > 0) {
        t.timer1.tick();
        nachPuffer();
    }
}

}  // namespace tonwerk::test
