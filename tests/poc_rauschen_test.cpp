// POCSAG behind a receiver's audio stage: the control's own transmission,
// resampled to the capture rate, under Gaussian noise that a 3-sample moving
// average has band-limited. Such noise moves single zero crossings by a sample or
// two; the preamble must still be counted at every rate and bit rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "demo_mischung.h"
#include "poc_testsignal.h"
#include "tonwerk/transmit/poc_senden.h"

namespace tonwerk {
namespace {

constexpr Long kRic = 1234567;
constexpr const char* kText = "Einsatz B3";

// Left channel: the transmission at `rate`; right channel: silence.
std::vector<float> pocSignal(Long rate, Long baud) {
    Tongenerator g;
    PocSendeAudio(g, Einstellungen{}, PocSendeauftrag{baud == 512 ? 0 : 1, kRic, 3, kText});
    werkzeug::DemoSendung s;
    s.proben.assign(g.Proben().begin(), g.Proben().end());
    return werkzeug::demoMischen({s}, static_cast<int>(rate), 0.2);
}

// Noise `snrDb` below the power of the two-level signal at the transmit level,
// measured after the smoothing, on the left channel; 8-bit stereo out.
std::vector<std::uint8_t> verrauscht(const std::vector<float>& stereo, double snrDb, unsigned seed) {
    const double sigma = (60.0 / 128.0) * std::pow(10.0, -snrDb / 20.0);
    std::mt19937 zufall(seed);
    std::normal_distribution<double> weiss(0.0, sigma * std::sqrt(3.0));
    double w1 = weiss(zufall), w2 = weiss(zufall);
    std::vector<std::uint8_t> aus(stereo.size());
    for (std::size_t i = 0; i < stereo.size(); i += 2) {
        const double w0 = weiss(zufall);
        const double links = stereo[i] + (w0 + w1 + w2) / 3.0;
        w2 = w1;
        w1 = w0;
        aus[i] = static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + 128.0 * links), 0L, 255L));
        aus[i + 1] = static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + 128.0 * stereo[i + 1]), 0L, 255L));
    }
    return aus;
}

class PocRauschen : public ::testing::TestWithParam<std::tuple<Long, Long>> {};

TEST_P(PocRauschen, NineOfTenBehindBandLimitedNoise) {
    const auto [rate, baud] = GetParam();
    const std::vector<float> signal = pocSignal(rate, baud);
    int gefunden = 0;
    for (unsigned versuch = 0; versuch < 10; ++versuch) {
        test::PocEmpfaenger empfaenger(test::einstellungenFuer(rate, baud));
        empfaenger.zufuehren(verrauscht(signal, 17.0, 100 + versuch));
        const bool richtig = std::any_of(empfaenger.meldungen.begin(), empfaenger.meldungen.end(), [](const POCType& m) {
            return m.RIC == kRic && m.Funktion == 4 && m.Text.rfind(kText, 0) == 0;
        });
        gefunden += richtig ? 1 : 0;
    }
    RecordProperty("gefunden", gefunden);
    EXPECT_GE(gefunden, 9) << rate << " Hz, " << baud << " bit/s";
}

INSTANTIATE_TEST_SUITE_P(RatenUndBaud, PocRauschen,
                         ::testing::Combine(::testing::Values(Long{11025}, Long{22050}, Long{44100}),
                                            ::testing::Values(Long{512}, Long{1200})));

}  // namespace
}  // namespace tonwerk
