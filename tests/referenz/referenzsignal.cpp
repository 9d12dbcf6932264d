// Reference signals: see referenzsignal.h. Every waveform is computed from the
// time since its start (never by adding steps), so clocks and phases carry no
// rounding from one bit or cycle to the next.
#include "referenzsignal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <random>
#include <stdexcept>

#include "../einspeiser.h"

namespace tonwerk::referenz {

namespace {

constexpr double kZweiPi = 2.0 * std::numbers::pi;

// 7-bit code of the character starting at text[i]; advances i past it.
int zeichenCode(std::string_view text, std::size_t& i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    if (i + 1 < text.size() && (b == 0xC2 || b == 0xC3)) {
        const unsigned zeichen = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
        i += 2;
        switch (zeichen) {
            case 0xA7: return 64;   // §
            case 0xC4: return 91;   // Ä
            case 0xD6: return 92;   // Ö
            case 0xDC: return 93;   // Ü
            case 0xE4: return 123;  // ä
            case 0xF6: return 124;  // ö
            case 0xFC: return 125;  // ü
            case 0xDF: return 126;  // ß
            default: break;
        }
    }
    throw std::invalid_argument("Referenzsignal: Zeichen ohne POCSAG-Code in \"" + std::string(text) + "\"");
}

double zveiFrequenz(char c) {
    static constexpr double kZiffern[] = {2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830, 2000, 2200};
    if (c >= '0' && c <= '9') return kZiffern[c - '0'];
    if (c == 'W') return 2600;
    throw std::invalid_argument(std::string("Referenzsignal: kein ZVEI-Zeichen '") + c + "'");
}

}  // namespace

std::uint32_t pocCodewort(std::uint32_t info21) {
    const std::uint32_t info = info21 & 0x1FFFFFu;
    std::uint32_t rest = info << 10;
    for (int b = 30; b >= 10; --b)
        if ((rest >> b) & 1u) rest ^= 0x769u << (b - 10);
    const std::uint32_t wort31 = (info << 10) | rest;
    return (wort31 << 1) | static_cast<std::uint32_t>(std::popcount(wort31) & 1);
}

std::uint32_t pocAdresswort(std::uint32_t ric, int funktion) {
    return pocCodewort((((ric >> 3) & 0x3FFFFu) << 2) | (static_cast<std::uint32_t>(funktion) & 3u));
}

std::vector<std::uint32_t> pocTextWorte(std::string_view text) {
    std::vector<bool> bits;
    for (std::size_t i = 0; i < text.size();) {
        const int code = zeichenCode(text, i);
        for (int b = 0; b < 7; ++b) bits.push_back(((code >> b) & 1) != 0);
    }
    while (bits.size() % 20 != 0) bits.push_back(false);
    std::vector<std::uint32_t> worte;
    for (std::size_t i = 0; i < bits.size(); i += 20) {
        std::uint32_t w = 1;  // flag: message
        for (std::size_t b = 0; b < 20; ++b) w = (w << 1) | (bits[i + b] ? 1u : 0u);
        worte.push_back(pocCodewort(w));
    }
    return worte;
}

void PocSendung::kippen(std::size_t index, std::initializer_list<int> bits) {
    if (index >= worte.size()) throw std::out_of_range("Referenzsignal: kein Codewort " + std::to_string(index));
    for (int b : bits) {
        if (b < 1 || b > 32) throw std::out_of_range("Referenzsignal: Bit " + std::to_string(b) + " (1 bis 32)");
        worte[index] ^= 1u << (32 - b);
    }
}

PocSendung pocSendung(const std::vector<PocMeldung>& meldungen, bool leererBatchAmEnde) {
    PocSendung s;
    int stelle = 0;  // position in the batch: 0 = synchronisation codeword, 1..16 = codewords
    const auto setzen = [&](std::uint32_t wort) {
        if (stelle == 0) {
            s.worte.push_back(kSyncWort);
            stelle = 1;
        }
        s.worte.push_back(wort);
        stelle = stelle == 16 ? 0 : stelle + 1;
        return s.worte.size() - 1;
    };
    for (const PocMeldung& m : meldungen) {
        const int rahmen = static_cast<int>(m.ric & 7u);
        while (((stelle == 0 ? 1 : stelle) - 1) / 2 != rahmen) setzen(kIdleWort);
        PocSendung::Lage lage;
        lage.adresse = setzen(pocAdresswort(m.ric, m.funktion));
        for (std::uint32_t w : pocTextWorte(m.text)) lage.nachricht.push_back(setzen(w));
        s.meldungen.push_back(std::move(lage));
    }
    const bool amBatchEnde = stelle == 0 && !s.worte.empty();
    while (stelle != 0) setzen(kIdleWort);
    if (leererBatchAmEnde && amBatchEnde)
        for (int i = 0; i < 16; ++i) setzen(kIdleWort);
    return s;
}

double amplitude(double dbfs) { return std::pow(10.0, dbfs / 20.0); }

Referenzsignal::Referenzsignal(int rate) : rate_(rate) {
    if (rate < 8000) throw std::invalid_argument("Referenzsignal: Rate " + std::to_string(rate));
}

Abschnitt Referenzsignal::anhaengen(std::vector<double> signal) {
    Abschnitt a{x_.size(), x_.size() + signal.size()};
    for (double v : signal) leistung_ += v * v;
    an_ += signal.size();
    x_.insert(x_.end(), signal.begin(), signal.end());
    return a;
}

Abschnitt Referenzsignal::stille(double sekunden) {
    const auto n = static_cast<std::size_t>(std::lround(std::max(0.0, sekunden) * rate_));
    Abschnitt a{x_.size(), x_.size() + n};
    x_.resize(x_.size() + n, 0.0);
    return a;
}

Abschnitt Referenzsignal::poc(const PocSendung& sendung, double baud, double dbfs, int praambel, bool invertiert) {
    std::vector<bool> bits;  // true = "1"
    for (int i = 0; i < praambel; ++i) bits.push_back(i % 2 == 0);
    for (std::uint32_t w : sendung.worte)
        for (int b = 31; b >= 0; --b) bits.push_back(((w >> b) & 1u) != 0);
    const double a = amplitude(dbfs);
    const double bit = rate_ / baud;  // samples per bit
    const double dauer = static_cast<double>(bits.size()) * bit;
    const auto pegel = [&](std::size_t k) { return (bits[k] != invertiert) ? -a : a; };
    std::vector<double> y(static_cast<std::size_t>(std::ceil(dauer)));
    for (std::size_t n = 0; n < y.size(); ++n) {
        // The sample covers [n - 1/2, n + 1/2); it takes the mean level over that span.
        const double von = std::max(0.0, static_cast<double>(n) - 0.5);
        const double bis = std::min(dauer, static_cast<double>(n) + 0.5);
        double summe = 0;
        for (auto k = static_cast<std::size_t>(von / bit); k < bits.size(); ++k) {
            const double anfang = std::max(von, static_cast<double>(k) * bit);
            const double ende = std::min(bis, static_cast<double>(k + 1) * bit);
            if (anfang >= bis) break;
            if (ende > anfang) summe += (ende - anfang) * pegel(k);
        }
        y[n] = summe;
    }
    return anhaengen(std::move(y));
}

Abschnitt Referenzsignal::ffsk(std::string_view bits, double dbfs) {
    const double a = amplitude(dbfs);
    const double bit = rate_ / 1200.0;
    std::vector<double> anfangsPhase(bits.size());  // a zero bit turns the phase by half a cycle
    double phase = 0;
    for (std::size_t k = 0; k < bits.size(); ++k) {
        anfangsPhase[k] = phase;
        if (bits[k] != '1') phase = phase == 0 ? std::numbers::pi : 0;
    }
    std::vector<double> y(static_cast<std::size_t>(std::ceil(static_cast<double>(bits.size()) * bit)));
    for (std::size_t n = 0; n < y.size(); ++n) {
        const std::size_t k = std::min(bits.size() - 1, static_cast<std::size_t>(static_cast<double>(n) / bit));
        const double f = bits[k] == '1' ? 1200.0 : 1800.0;
        const double t = (static_cast<double>(n) - static_cast<double>(k) * bit) / rate_;
        y[n] = a * std::sin(anfangsPhase[k] + kZweiPi * f * t);
    }
    return anhaengen(std::move(y));
}

Abschnitt Referenzsignal::zvei(std::string_view folge, double dbfs) {
    const double a = amplitude(dbfs);
    std::vector<double> frequenz;
    char vorher = '\0';
    for (char c : folge) {
        const char gesendet = c == vorher ? 'W' : c;
        frequenz.push_back(zveiFrequenz(gesendet));
        vorher = gesendet;
    }
    const double laenge = 0.070 * rate_;  // samples per tone
    std::vector<double> anfangsPhase(frequenz.size());
    for (std::size_t j = 1; j < frequenz.size(); ++j)
        anfangsPhase[j] = std::fmod(anfangsPhase[j - 1] + kZweiPi * frequenz[j - 1] * 0.070, kZweiPi);
    std::vector<double> y(static_cast<std::size_t>(std::ceil(static_cast<double>(frequenz.size()) * laenge)));
    for (std::size_t n = 0; n < y.size(); ++n) {
        const std::size_t j =
            std::min(frequenz.size() - 1, static_cast<std::size_t>(static_cast<double>(n) / laenge));
        const double t = (static_cast<double>(n) - static_cast<double>(j) * laenge) / rate_;
        y[n] = a * std::sin(anfangsPhase[j] + kZweiPi * frequenz[j] * t);
    }
    return anhaengen(std::move(y));
}

Abschnitt Referenzsignal::ton(double f, double sekunden, double dbfs) {
    const double a = amplitude(dbfs);
    std::vector<double> y(static_cast<std::size_t>(std::lround(std::max(0.0, sekunden) * rate_)));
    for (std::size_t n = 0; n < y.size(); ++n) y[n] = a * std::sin(kZweiPi * f * static_cast<double>(n) / rate_);
    return anhaengen(std::move(y));
}

Abschnitt Referenzsignal::zweiton(double f1, double f2, double sekunden, double dbfs) {
    const double a = amplitude(dbfs) / 2;
    std::vector<double> y(static_cast<std::size_t>(std::lround(std::max(0.0, sekunden) * rate_)));
    for (std::size_t n = 0; n < y.size(); ++n) {
        const double t = static_cast<double>(n) / rate_;
        y[n] = a * (std::sin(kZweiPi * f1 * t) + std::sin(kZweiPi * f2 * t));
    }
    return anhaengen(std::move(y));
}

double Referenzsignal::signalleistung() const { return an_ > 0 ? leistung_ / static_cast<double>(an_) : 0.0; }

void Referenzsignal::rauschen(double snrDb, std::uint64_t saat) {
    if (an_ == 0) throw std::logic_error("Referenzsignal: Rauschabstand ohne Signal");
    rauschenPegel(10.0 * std::log10(signalleistung()) - snrDb, saat);
}

void Referenzsignal::rauschenPegel(double effektivDbfs, std::uint64_t saat) {
    std::mt19937_64 zufall(saat);
    std::normal_distribution<double> verteilung(0.0, amplitude(effektivDbfs));
    for (double& v : x_) v += verteilung(zufall);
}

std::vector<std::uint8_t> Referenzsignal::alsBytes() const {
    std::vector<std::uint8_t> b(x_.size());
    std::transform(x_.begin(), x_.end(), b.begin(), [](double v) { return test::alsByte(v); });
    return b;
}

std::vector<std::int16_t> Referenzsignal::alsS16() const {
    std::vector<std::int16_t> s(x_.size());
    std::transform(x_.begin(), x_.end(), s.begin(),
                   [](double v) { return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0)); });
    return s;
}

}  // namespace tonwerk::referenz
