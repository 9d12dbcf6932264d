// A long recording for whole-process measurements of `tonwerk decode`: the demo's
// transmissions repeated with fresh noise, 16-bit stereo. Not a test.
//   tonwerk_demo_aufnahme OUT.wav [SECONDS=3600] [RATE=44100] [SNR=30]
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

#include "demo_mischung.h"
#include "demo_sendungen.h"

int main(int argc, char** argv) {
    using namespace tonwerk::werkzeug;
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " OUT.wav [SECONDS] [RATE] [SNR]\n";
        return 2;
    }
    const double sekunden = argc > 2 ? std::atof(argv[2]) : 3600.0;
    const int rate = argc > 3 ? std::atoi(argv[3]) : 44100;
    const double snr = argc > 4 ? std::atof(argv[4]) : 30.0;
    const std::vector<float> runde = demoMischen(demoSendungen(1200), rate);

    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* datei = sf_open(argv[1], SFM_WRITE, &info);
    if (!datei) {
        std::cerr << argv[1] << ": " << sf_strerror(nullptr) << '\n';
        return 1;
    }
    auto rest = static_cast<std::size_t>(sekunden * rate);
    Rauschen rauschen(snr, 1);
    std::size_t runden = 0;
    while (rest > 0) {
        std::vector<float> stueck(runde.begin(), runde.begin() + static_cast<std::ptrdiff_t>(
                                                                     2 * std::min(rest, runde.size() / 2)));
        rauschen.hinzu(stueck);
        const std::vector<std::int16_t> s = nach16Bit(stueck);
        sf_writef_short(datei, s.data(), static_cast<sf_count_t>(s.size() / 2));
        rest -= s.size() / 2;
        ++runden;
    }
    sf_close(datei);
    std::cerr << argv[1] << ": " << sekunden << " s at " << rate << " Hz, " << runden << " rounds of "
              << static_cast<double>(runde.size() / 2) / rate << " s\n";
    return 0;
}
