// Reference signals for the receivers, built without the control's transmitters,
// so that a test decodes audio its own send code did not make: POCSAG with an
// exact bit clock (and bit errors placed by hand), FMS as exact phase-continuous
// FFSK, ZVEI sequences, tone calls and two-tone signals at exact frequencies.
// Signals are laid one after the other into one recording at the capture rate,
// each at its own peak level in dBFS, and white noise can be added at a chosen
// signal-to-noise ratio or at a fixed level.
//
// The POCSAG codewords (BCH(31,21), parity, address, text packing, batches) are
// computed here afresh; FMS telegrams come in as bit strings (the format
// functions of tonwerk/formats make them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tonwerk::referenz {

inline constexpr std::uint32_t kSyncWort = 0x7CD215D8;
inline constexpr std::uint32_t kIdleWort = 0x7A89C197;

// A whole codeword from 21 information bits (flag first, in bit 20): BCH(31,21)
// check bits and even parity appended.
std::uint32_t pocCodewort(std::uint32_t info21);

// Address codeword of `ric` (bits 20..3) with function bits 0..3.
std::uint32_t pocAdresswort(std::uint32_t ric, int funktion);

// Message codewords of a text: 7-bit codes, least significant bit first, padded
// with zeros to whole codewords. Bytes of 128 and above are taken as UTF-8 and
// the German letters (Ä Ö Ü ä ö ü ß §) go to their 7-bit places; any other
// character outside ASCII is an error.
std::vector<std::uint32_t> pocTextWorte(std::string_view text);

struct PocMeldung {
    std::uint32_t ric = 8;
    int funktion = 0;  // function bits 0..3; reported as 1..4
    std::string text;
};

// The codewords of one transmission after the preamble, and where each
// message's codewords stand in it.
struct PocSendung {
    std::vector<std::uint32_t> worte;  // batches: synchronisation codeword and 16 codewords each
    struct Lage {
        std::size_t adresse = 0;             // index of the address codeword in `worte`
        std::vector<std::size_t> nachricht;  // indices of the message codewords
    };
    std::vector<Lage> meldungen;

    // Flips bits of `worte[index]`: 1 is the first bit on air (the flag), 32 the parity bit.
    void kippen(std::size_t index, std::initializer_list<int> bits);
};

// Messages in one transmission, in order: each address codeword in the first free
// codeword of its frame (RIC mod 8; idle codewords fill the way there, into the
// next batch if the frame has passed), the message codewords right after it
// across frame and batch bounds. The last batch is filled with idle codewords.
// With `leererBatchAmEnde` a batch of idle codewords follows when the last
// message ended on the last codeword of a batch (the control's transmitter does
// that; many do not and drop the carrier right there).
PocSendung pocSendung(const std::vector<PocMeldung>& meldungen, bool leererBatchAmEnde = false);

// Where a signal lies in the recording: samples [anfang, ende).
struct Abschnitt {
    std::size_t anfang = 0;
    std::size_t ende = 0;
};

// Amplitude (full scale 1.0) of a peak level in dBFS.
double amplitude(double dbfs);

class Referenzsignal {
public:
    // `rate` samples per second; the recording starts empty.
    explicit Referenzsignal(int rate);

    int rate() const { return rate_; }
    const std::vector<double>& proben() const { return x_; }  // full scale -1..1 (not clipped)
    std::size_t laenge() const { return x_.size(); }

    Abschnitt stille(double sekunden);

    // POCSAG as a two-level baseband: the preamble 1010...10 of `praambel` bits,
    // then the codewords; "0" at +amplitude, "1" at -amplitude (the other way
    // round with `invertiert`). Bit k spans exactly [k, k + 1) * rate / baud from
    // the start, the fraction carried from bit to bit; a sample on an edge gets
    // the mean of the two levels over its width. `baud` may be off its nominal
    // value (a transmitter whose clock runs fast or slow).
    Abschnitt poc(const PocSendung& sendung, double baud, double dbfs, int praambel = 576, bool invertiert = false);

    // FFSK at 1200 bit/s: "1" one cycle of 1200 Hz, "0" one and a half of 1800 Hz,
    // starting at phase 0, continuous in phase; the bit clock is exact as above.
    Abschnitt ffsk(std::string_view bits, double dbfs);

    // A ZVEI sequence: each character 70 ms of its tone (1 1060 Hz ... 9 2200, 0
    // 2400, W 2600), continuous in phase, no gap. A character equal to the one
    // sent before it goes out as W.
    Abschnitt zvei(std::string_view folge, double dbfs);

    // A sine of `f` Hz for `sekunden`, starting at phase 0.
    Abschnitt ton(double f, double sekunden, double dbfs);

    // Two sines of half the amplitude each (the peak is the level), both from phase 0.
    Abschnitt zweiton(double f1, double f2, double sekunden, double dbfs);

    // White Gaussian noise over the whole recording at `snrDb` below the mean
    // power of the signals while they are on (silence does not count); the
    // band is the full 0 to rate/2. Needs a signal first.
    void rauschen(double snrDb, std::uint64_t saat);
    // White Gaussian noise of the RMS level `effektivDbfs` (full scale 1.0 = 0 dB).
    void rauschenPegel(double effektivDbfs, std::uint64_t saat);

    // Mean power of the signals while on (full scale 1.0); 0 without one.
    double signalleistung() const;

    // 8-bit capture samples (high byte of the 16-bit sample, plus 128), clipped.
    std::vector<std::uint8_t> alsBytes() const;
    // 16-bit samples, clipped.
    std::vector<std::int16_t> alsS16() const;

private:
    int rate_;
    std::vector<double> x_;
    double leistung_ = 0;  // sum of squares of the signal samples
    std::size_t an_ = 0;   // signal samples

    Abschnitt anhaengen(std::vector<double> signal);
};

}  // namespace tonwerk::referenz
