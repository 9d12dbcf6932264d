#include "datei_decoder.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tonwerk/formats/abtastrate.h"

namespace tonwerk::werkzeug {

DateiDecoder::DateiDecoder(int abtastrate)
    : abtastrate_(abtastrate) {
    const std::optional<int> stufe = AbtastrateStufe(abtastrate);
    if (!stufe)
        throw std::runtime_error("Abtastrate " + std::to_string(abtastrate) +
                                 " Hz wird nicht unterstützt (11025, 22050 oder 44100 Hz)");
    fw_.Samplerates(*stufe);
}

DateiDecoder::~DateiDecoder() {
    fw_.setListener(nullptr);
}

void DateiDecoder::starten() {
    pufferBytes_ = 2 * static_cast<std::size_t>(nutzbarePufferFrames(fw_.RecordPufferSize()));
    if (fw_.SoundStart() != 0) throw std::runtime_error("Simulierter Eingang startet nicht");
    laeuft_ = true;
}

void DateiDecoder::verarbeiten(std::size_t frames) {
    geliefert_ += frames;
    plattform_.timer1.tick();
    while (geliefert_ >= (sekunden_ + 1) * static_cast<std::uint64_t>(abtastrate_)) {
        ++sekunden_;
        plattform_.timer2.tick();
    }
}

void DateiDecoder::einspeisen(const std::uint8_t* stereo, std::size_t bytes) {
    if (bytes >= 2) {
        letzterRahmen_[0] = stereo[bytes - 2];
        letzterRahmen_[1] = stereo[bytes - 1];
    }
    plattform_.eingang.anhaengen(stereo, bytes);
    while (plattform_.eingang.restBytes() >= pufferBytes_) verarbeiten(plattform_.eingang.fuellen());
}

void DateiDecoder::beenden() {
    if (!laeuft_) return;
    // Decoders judge a period when its level-0 run ends, so a tone that lasts to
    // the end of the file (or is followed only by exact silence) would never be
    // reported. Close with one short period of each sign after the audio: two
    // frames of the other sign, then two of the last sign (single frames would be
    // absorbed as glitches).
    std::uint8_t schluss[8];
    for (int k = 0; k < 2; ++k) {
        const std::uint8_t anders = (letzterRahmen_[k] & 0x80) ? 0x40 : 0xC0;
        const std::uint8_t gleich = (letzterRahmen_[k] & 0x80) ? 0xC0 : 0x40;
        schluss[k] = schluss[2 + k] = anders;
        schluss[4 + k] = schluss[6 + k] = gleich;
    }
    plattform_.eingang.anhaengen(schluss, sizeof schluss);
    plattform_.eingang.abschliessen();
    while (std::size_t n = plattform_.eingang.fuellen()) verarbeiten(n);
    fw_.Soundstop();
    laeuft_ = false;
}

void einspeisenBisEnde(AudioQuelle& quelle, DateiDecoder& decoder,
                       const std::function<void(std::int64_t)>& gelesen, DateiDecoder* zweiter,
                       const std::function<void(const std::int16_t*, std::size_t)>& roh) {
    std::vector<std::int16_t> samples;
    std::vector<std::uint8_t> stereo;
    std::int64_t frames = 0;
    while (const std::size_t n = quelle.lesen(samples, 16384)) {
        if (roh) roh(samples.data(), n);
        stereo.clear();
        nachAchtBitStereo(samples.data(), n, quelle.kanaele(), stereo);
        if (!zweiter) {
            decoder.einspeisen(stereo);
        } else {
            // In small steps by turns, so that the two report in the order of the audio.
            constexpr std::size_t kSchritt = 4096;
            for (std::size_t i = 0; i < stereo.size(); i += kSchritt) {
                const std::size_t stueck = std::min(kSchritt, stereo.size() - i);
                decoder.einspeisen(stereo.data() + i, stueck);
                zweiter->einspeisen(stereo.data() + i, stueck);
            }
        }
        frames += static_cast<std::int64_t>(n);
        if (gelesen) gelesen(frames);
    }
    decoder.beenden();
    if (zweiter) zweiter->beenden();
}

}  // namespace tonwerk::werkzeug
