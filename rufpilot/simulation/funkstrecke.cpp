#include "rufpilot/simulation/funkstrecke.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tonwerk/core/blockverteiler.h"
#include "tonwerk/transmit/wav_kopf.h"

namespace rufpilot {

Funkempfaenger::Funkempfaenger(SimulierteZeit& zeit, tonwerk::SimulierterEingang& eingang,
                               const tonwerk::Funkwandler& fw)
    : eingang_(eingang), fw_(fw), bisMs_(zeit.monotonMs()) {
    zeit.beimVorruecken([this](std::int64_t jetztMs) { bis(jetztMs); });
}

void Funkempfaenger::aufLuft(std::int64_t abMs, std::vector<std::uint8_t> proben) {
    // What was captured already cannot change: a start in the past begins now.
    luft_.push_back({std::max(abMs, bisMs_), std::move(proben)});
}

void Funkempfaenger::bis(std::int64_t jetztMs) {
    // Capture runs only while the control has the device open.
    if (!eingang_.geoeffnet()) {
        bisMs_ = jetztMs;
        return;
    }
    const std::int32_t rate = eingang_.abtastrate();
    if (rate != rate_) {
        rate_ = rate;
        frames_ = bisMs_ * rate / 1000;
    }
    bisMs_ = jetztMs;
    const std::int64_t ziel = jetztMs * rate / 1000;
    const std::int64_t faktor = std::max<std::int64_t>(1, rate / 11025);
    std::vector<std::uint8_t> stereo;
    stereo.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, ziel - frames_)) * 2);
    for (std::int64_t f = frames_; f < ziel; ++f) {
        int wert = 128;
        for (const Sendung& s : luft_) {
            const std::int64_t start = s.abMs * rate / 1000;
            const std::int64_t i = (f - start) / faktor;
            if (f >= start && i < static_cast<std::int64_t>(s.proben.size()))
                wert += s.proben[static_cast<std::size_t>(i)] - 128;
        }
        const auto probe = static_cast<std::uint8_t>(std::clamp(wert, 0, 255));
        stereo.push_back(probe);
        stereo.push_back(128);
    }
    frames_ = std::max(frames_, ziel);
    // Forget what has been captured completely.
    while (!luft_.empty() && (luft_.front().abMs * rate / 1000 +
                              static_cast<std::int64_t>(luft_.front().proben.size()) * faktor) < frames_)
        luft_.pop_front();
    eingang_.anhaengen(stereo);
    // The device hands over whole buffers only.
    const std::size_t pufferBytes = 2 * static_cast<std::size_t>(tonwerk::nutzbarePufferFrames(fw_.RecordPufferSize()));
    while (eingang_.restBytes() >= pufferBytes && eingang_.fuellen() > 0) {
    }
}

std::vector<std::uint8_t> sendeprobenLesen(const std::filesystem::path& wavDatei) {
    std::ifstream datei(wavDatei, std::ios::binary);
    if (!datei) throw std::runtime_error("Sendedatei nicht lesbar: " + wavDatei.string());
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>()};
    if (bytes.size() < tonwerk::kWavKopfGroesse) throw std::runtime_error("Sendedatei zu kurz: " + wavDatei.string());
    return {bytes.begin() + tonwerk::kWavKopfGroesse, bytes.end()};
}

void Funkausgabe::abspielen(const std::filesystem::path& wavDatei) {
    std::vector<std::uint8_t> proben = sendeprobenLesen(wavDatei);
    const std::int64_t dauerMs = static_cast<std::int64_t>(proben.size()) * 1000 / 11025;
    if (gegenstelle_) gegenstelle_->aufLuft(zeit_.monotonMs() + verzugMs_, std::move(proben));
    ++sendungen_;
    if (blockierend_) zeit_.vorruecken(dauerMs);
}

}  // namespace rufpilot
