#include "datei_decoder.h"

#include <stdexcept>
#include <string>

namespace tonwerk::werkzeug {

DateiDecoder::DateiDecoder(int abtastrate)
    : fw_(Plattform{eingang_, ausgabe_, anschluss_, timer1_, timer2_, uhr_}), abtastrate_(abtastrate) {
    if (abtastrate != 11025 && abtastrate != 22050 && abtastrate != 44100)
        throw std::runtime_error("Abtastrate " + std::to_string(abtastrate) +
                                 " Hz wird nicht unterstützt (11025, 22050 oder 44100 Hz)");
    fw_.Samplerates(abtastrate == 22050 ? 1 : abtastrate == 44100 ? 2 : 0);
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
    timer1_.tick();
    while (geliefert_ >= (sekunden_ + 1) * static_cast<std::uint64_t>(abtastrate_)) {
        ++sekunden_;
        timer2_.tick();
    }
}

void DateiDecoder::einspeisen(const std::vector<std::uint8_t>& stereo) {
    eingang_.anhaengen(stereo);
    while (eingang_.restBytes() >= pufferBytes_) verarbeiten(eingang_.fuellen());
}

void DateiDecoder::beenden() {
    if (!laeuft_) return;
    eingang_.abschliessen();
    while (std::size_t n = eingang_.fuellen()) verarbeiten(n);
    fw_.Soundstop();
    laeuft_ = false;
}

}  // namespace tonwerk::werkzeug
