// Audio as real receivers deliver it, made without the control's transmitters:
// POCSAG with an exact bit clock, the additional signals of a five-tone call
// with exact tones, white noise, and any level down to a few steps of 16 bits,
// taken to the 8-bit capture samples the way the tool does. Shared by the tests
// and the reception measurement in bench/.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "einspeiser.h"
#include "poc_testsignal.h"

namespace tonwerk::test {

// Two-level POCSAG audio at full scale +-1 with an exact bit clock: bit i spans
// the samples from i * rate / baud on, "0" above the zero line.
inline std::vector<double> pocZweiPegel(const std::string& bits, int rate, int baud) {
    const auto n = static_cast<std::size_t>(static_cast<long long>(bits.size()) * rate / baud);
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = bits[static_cast<std::size_t>(static_cast<long long>(i) * baud / rate)] == '1' ? -1.0 : 1.0;
    return x;
}

// White noise `snr` dB below `leistung`, added to every sample.
inline void mitRauschen(std::vector<double>& x, double leistung, double snr, unsigned saat) {
    std::mt19937 gen(saat);
    std::normal_distribution<double> v(0.0, std::sqrt(leistung / std::pow(10.0, snr / 10.0)));
    for (double& p : x) p += v(gen);
}

// Full-scale samples scaled by `dbfs` and taken to 8 bits as the tool does
// (16 bits, high byte).
inline std::vector<std::uint8_t> mitPegel(const std::vector<double>& x, double dbfs) {
    const double f = std::pow(10.0, dbfs / 20.0);
    std::vector<std::uint8_t> b(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) b[i] = alsByte(x[i] * f);
    return b;
}

struct PocMeldung {
    Long ric = 0;
    std::string text;
};

// Random POCSAG traffic: `anzahl` messages (function 3, 6 to 46 characters)
// with 0.3 to 0.7 s between them, white noise `snr` dB below the signal over all
// of it. What was sent is appended to `gesendet`.
inline std::vector<double> pocVerkehr(int anzahl, int rate, int baud, double snr, unsigned saat,
                                      std::vector<PocMeldung>& gesendet) {
    std::mt19937 z(saat);
    std::vector<double> x(static_cast<std::size_t>(rate / 2), 0.0);
    const std::string zeichen = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,:-/";
    for (int i = 0; i < anzahl; ++i) {
        PocMeldung m;
        m.ric = static_cast<Long>(8 + z() % 2097000);
        for (std::size_t n = 5 + z() % 40; n > 0; --n) m.text += zeichen[z() % zeichen.size()];
        m.text += "Z";  // a blank at the end is not told from padding
        const auto a = pocZweiPegel(pocNachricht(m.ric, 3, m.text), rate, baud);
        x.insert(x.end(), a.begin(), a.end());
        x.resize(x.size() + static_cast<std::size_t>(rate * (0.3 + 0.4 * static_cast<double>(z() % 100) / 100.0)), 0.0);
        gesendet.push_back(m);
    }
    mitRauschen(x, 1.0, snr, saat + 1);
    return x;
}

// Additional signal `nummer` (ZusatzTon 1 to 6) at `rate` with exact tones:
// 0.6 s quiet, the signal (five bursts of 0.8 s of 2600 Hz with 0.2 s pauses, or
// 5 s of 675 Hz with its partner, each tone at amplitude 0.25), 1 s quiet. Its
// mean power while on goes into `leistung`.
inline std::vector<double> zusatztonSignal(int nummer, int rate, double& leistung) {
    constexpr double kPartner[] = {0, 0, 1240, 1860, 825, 2280, 1010};
    constexpr double kPi = 3.14159265358979323846;
    std::vector<double> x(static_cast<std::size_t>(0.6 * rate), 0.0);
    double summe = 0;
    std::size_t an = 0;
    const auto ton = [&](double sekunden, auto wert) {
        const auto n = static_cast<std::size_t>(sekunden * rate);
        for (std::size_t i = 0; i < n; ++i) {
            const double v = wert(static_cast<double>(i) / rate);
            x.push_back(v);
            summe += v * v;
            ++an;
        }
    };
    if (nummer == 1) {
        for (int i = 0; i < 5; ++i) {
            ton(0.8, [&](double t) { return 0.5 * std::sin(2 * kPi * 2600 * t); });
            x.resize(x.size() + static_cast<std::size_t>(0.2 * rate), 0.0);
        }
    } else if (nummer >= 2 && nummer <= 6) {
        ton(5.0, [&](double t) {
            return 0.25 * std::sin(2 * kPi * 675 * t) + 0.25 * std::sin(2 * kPi * kPartner[nummer] * t + 1.0);
        });
    }
    leistung = an > 0 ? summe / static_cast<double>(an) : 0.0;
    x.resize(x.size() + static_cast<std::size_t>(rate), 0.0);
    return x;
}

}  // namespace tonwerk::test
