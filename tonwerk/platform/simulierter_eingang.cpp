#include "tonwerk/platform/simulierter_eingang.h"

#include <algorithm>
#include <cstring>

namespace tonwerk {

void SimulierterEingang::anhaengen(const std::uint8_t* daten, std::size_t bytes) {
    daten_.insert(daten_.end(), daten, daten + bytes);
}

void SimulierterEingang::abschliessen() {
    // A stretch of the opposite sign, longer than any half-wave a decoder collects,
    // ended by one frame of the original sign: the run in progress and then the
    // stretch itself reach the run tables, so a signal that ran up to the end of
    // the audio is closed by a run that belongs to no signal.
    std::uint8_t ende[2] = {0x40, 0x40};
    std::uint8_t gegen[2] = {0xC0, 0xC0};
    if (daten_.size() >= 2) {
        for (int k = 0; k < 2; ++k) {
            const bool oben = daten_[daten_.size() - 2 + k] & 0x80;
            gegen[k] = oben ? 0x40 : 0xC0;
            ende[k] = oben ? 0xC0 : 0x40;
        }
    }
    for (int i = 0; i < kAbschlussFrames; ++i) anhaengen(gegen, 2);
    anhaengen(ende, 2);
}

std::int32_t SimulierterEingang::geraeteInfo(std::int32_t index, std::string& name, std::int32_t& formate) {
    // Like a real device, listing it opens it: a device error shows here too.
    if (fehler_ != 0) return fehler_;
    if (index != 0) return kFehlerUngueltig;
    name = "Simulierter Eingang";
    formate = 0xFFF;
    return 0;
}

std::int32_t SimulierterEingang::oeffnen(std::int32_t index, std::int32_t abtastrate) {
    if (fehler_ != 0) return fehler_;
    if (index != 0) return kFehlerUngueltig;
    abtastrate_ = abtastrate;
    geoeffnet_ = true;
    return 0;
}

std::int32_t SimulierterEingang::vorbereiten(int puffer, std::uint8_t* daten, std::size_t bytes) {
    if (!geoeffnet_ || puffer < 0 || puffer >= kPuffer) return kFehlerUngueltig;
    puffer_[puffer] = {daten, bytes, false};
    return 0;
}

std::int32_t SimulierterEingang::einreihen(int puffer) {
    if (!geoeffnet_ || puffer < 0 || puffer >= kPuffer || !puffer_[puffer].daten) return kFehlerUngueltig;
    puffer_[puffer].fertig = false;
    warteschlange_.push_back(puffer);
    return 0;
}

std::int32_t SimulierterEingang::starten() {
    if (fehler_ != 0) return fehler_;
    if (!geoeffnet_) return kFehlerUngueltig;
    gestartet_ = true;
    return 0;
}

std::size_t SimulierterEingang::fuellen() {
    if (!gestartet_ || warteschlange_.empty() || restBytes() == 0) return 0;
    Puffer& p = puffer_[warteschlange_.front()];
    warteschlange_.pop_front();
    const std::size_t n = std::min(p.bytes, restBytes()) & ~std::size_t{1};
    std::memcpy(p.daten, daten_.data() + lesePosition_, n);
    lesePosition_ += std::max<std::size_t>(n, restBytes() < 2 ? restBytes() : 0);
    for (std::size_t i = n; i + 1 < p.bytes; i += 2) {
        p.daten[i] = n >= 2 ? p.daten[n - 2] : 128;
        p.daten[i + 1] = n >= 2 ? p.daten[n - 1] : 128;
    }
    p.fertig = true;
    // Long recordings are streamed in: drop what has been delivered. What
    // remains is less than a block of input, so dropping often is cheap and
    // keeps the buffer (and a tool running two controls) small.
    if (lesePosition_ >= (std::size_t{1} << 16)) {
        daten_.erase(daten_.begin(), daten_.begin() + static_cast<std::ptrdiff_t>(lesePosition_));
        lesePosition_ = 0;
    }
    return n / 2;
}

bool SimulierterEingang::fertig(int puffer) const {
    return puffer >= 0 && puffer < kPuffer && puffer_[puffer].fertig;
}

std::int32_t SimulierterEingang::zuruecksetzen() {
    if (!geoeffnet_) return kFehlerUngueltig;
    warteschlange_.clear();
    for (Puffer& p : puffer_) p.fertig = true;  // returned to the caller
    gestartet_ = false;
    return 0;
}

std::int32_t SimulierterEingang::schliessen() {
    if (!geoeffnet_) return kFehlerUngueltig;
    geoeffnet_ = false;
    for (Puffer& p : puffer_) p = Puffer{};
    return 0;
}

}  // namespace tonwerk
