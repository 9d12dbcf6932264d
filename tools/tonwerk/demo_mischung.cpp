#include "demo_mischung.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace tonwerk::werkzeug {

namespace {

// 8-bit transmit samples as floats, resampled with a band-limited sinc filter so
// that the images of the 11025 Hz audio do not reach the recording.
std::vector<float> hochgetastet(const std::vector<std::uint8_t>& proben, int abtastrate) {
    std::vector<float> ein(proben.size());
    std::transform(proben.begin(), proben.end(), ein.begin(),
                   [](std::uint8_t p) { return (static_cast<float>(p) - 128.0f) / 128.0f; });
    if (abtastrate == 11025 || ein.empty()) return ein;
    const double faktor = static_cast<double>(abtastrate) / 11025.0;
    std::vector<float> aus(static_cast<std::size_t>(std::ceil(static_cast<double>(ein.size()) * faktor)) + 16);
    SRC_DATA d{};
    d.data_in = ein.data();
    d.data_out = aus.data();
    d.input_frames = static_cast<long>(ein.size());
    d.output_frames = static_cast<long>(aus.size());
    d.src_ratio = faktor;
    if (const int fehler = src_simple(&d, SRC_SINC_MEDIUM_QUALITY, 1))
        throw std::runtime_error(std::string("Umtasten: ") + src_strerror(fehler));
    aus.resize(static_cast<std::size_t>(d.output_frames_gen));
    return aus;
}

}  // namespace

std::vector<float> demoMischen(const std::vector<DemoSendung>& sendungen, int abtastrate, double pause) {
    if (abtastrate < 11025 || abtastrate > 192000)
        throw std::invalid_argument("Abtastrate " + std::to_string(abtastrate) + " Hz: 11025 bis 192000 Hz");
    const auto frames = [abtastrate](double sekunden) {
        return static_cast<std::size_t>(std::lround(sekunden * abtastrate));
    };
    const std::size_t start[2] = {frames(0.25), frames(1.5)};
    std::vector<std::vector<float>> kanal(2);
    for (int k = 0; k < 2; ++k) kanal[k].assign(start[k], 0.0f);
    for (const DemoSendung& s : sendungen) {
        std::vector<float>& spur = kanal.at(static_cast<std::size_t>(s.kanal));
        const std::vector<float> ton = hochgetastet(s.proben, abtastrate);
        spur.insert(spur.end(), ton.begin(), ton.end());
        spur.insert(spur.end(), frames(pause), 0.0f);
    }
    const std::size_t laenge = std::max(kanal[0].size(), kanal[1].size()) + frames(0.5);
    std::vector<float> stereo(2 * laenge, 0.0f);
    for (int k = 0; k < 2; ++k)
        for (std::size_t i = 0; i < kanal[k].size(); ++i) stereo[2 * i + static_cast<std::size_t>(k)] = kanal[k][i];
    // Upsampled, every transmit sample lands exactly on a sample of the recording,
    // and so do its zero crossings (a sine's phase 0, the midpoint of a POCSAG
    // level change): the sign there is left to the noise, which no real recording
    // does. A quarter-sample delay (linear interpolation; the audio is oversampled
    // here) moves the crossings off the sample grid, as a free-running clock would.
    if (abtastrate > 11025)
        for (std::size_t i = stereo.size() - 1; i >= 2; --i) stereo[i] = 0.75f * stereo[i] + 0.25f * stereo[i - 2];
    return stereo;
}

Rauschen::Rauschen(double snrDb, std::uint32_t saat)
    : zufall_(saat),
      verteilung_(0.0f, static_cast<float>((60.0 / 128.0) / std::sqrt(2.0) * std::pow(10.0, -snrDb / 20.0))) {}

void Rauschen::hinzu(std::span<float> proben) {
    for (float& p : proben) p += verteilung_(zufall_);
}

std::vector<std::int16_t> nach16Bit(std::span<const float> proben) {
    std::vector<std::int16_t> aus(proben.size());
    std::transform(proben.begin(), proben.end(), aus.begin(), [](float p) {
        return static_cast<std::int16_t>(std::lround(std::clamp(p, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
    });
    return aus;
}

}  // namespace tonwerk::werkzeug
