// The reception path behind the Empfangsfilter property: instead of the one
// run table of the raw audio, every decoder gets a run table of the audio
// conditioned for its own signal: FMS band-limited to its two tones, POCSAG
// freed of DC, droop and noise between its bit edges, ZVEI and the tone calls
// regenerated from a tone detector (they share that table). The decoders and
// their records stay exactly the same; only their view of the signal changes.
//
// All three work at 11025 Hz: at 22050 and 44100 Hz each channel is first
// reduced by averaging two or four samples. The signals lie below 2.7 kHz,
// and for white noise the average is as good as an ideal low-pass (the noise
// density in the band stays what it was), at a quarter of the work after it.
// The runs they write are at the capture rate, as the decoders expect.
//
// Before that each channel's level is normalised: its DC is taken out and
// its peak magnitude brought to one level (quick to rise, 0.1 s to fall).
// A line input can be 40 or 50 dB below full scale, where the 8-bit samples
// are little more than their sign; the conditioners judge ratios and edge
// heights, and without this their floors against flicker would take such a
// signal for silence.
//
// All memory is taken when the control is created (tables) or when the rate or
// the POCSAG bit rate changes (filter state); a buffer allocates nothing.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwelle.h"
#include "tonwerk/empfang/fms_aufbereitung.h"
#include "tonwerk/empfang/laufschreiber.h"
#include "tonwerk/empfang/poc_aufbereitung.h"
#include "tonwerk/empfang/tonerkennung.h"

namespace tonwerk {

class Empfangsfilter {
public:
    // Run tables of one buffer, per channel.
    struct Tabellen {
        std::array<Laeufe, 2> fms, poc, ton;
    };

    Empfangsfilter();

    // Conditions `frames` interleaved 8-bit stereo frames (at most 11025) for
    // the decoders switched on in `e`. The tables stay valid until the next call.
    const Tabellen& aufbereiten(const std::uint8_t* puffer, int frames, const Einstellungen& e);

private:
    static constexpr int kPlatz = 11026;
    enum Pfad { PfadFms = 0, PfadPoc = 1, PfadTon = 2 };

    void einrichten(Long abtastrate, Long baud);
    // Averages `faktor_` samples of channel `kanal` into arbeit_; returns the count.
    int reduzieren(const std::uint8_t* puffer, int frames, int kanal);
    // Takes the DC out of `n` working samples of `kanal` and brings them to one level.
    void normieren(int n, int kanal);
    // Both channels in one loop: each one's running level is a chain of
    // dependent steps, and two independent chains overlap.
    void normierenBeide(int n);
    // The channels marked in `normiert`, after reduzieren.
    void normierenGetrennt(const std::array<int, 2>& anzahl, const std::array<bool, 2>& normiert);
    // Averages and normalises both channels in one pass (both normalised,
    // the same number of frames waiting in an incomplete average); returns the count.
    int reduzierenUndNormieren(const std::uint8_t* puffer, int frames);
    Halbwelle* tabelle(int pfad, int kanal) {
        return speicher_.data() + static_cast<std::size_t>(pfad * 2 + kanal) * kPlatz;
    }

    Long rate_ = 0, baud_ = 0;
    int faktor_ = 1;  // capture samples per working sample
    std::array<std::vector<float>, 2> arbeit_;  // one buffer at the working rate
    std::array<int, 2> rest_{};                 // samples of an incomplete average
    std::array<float, 2> restSumme_{};
    std::array<float, 2> gleichanteil_{};  // slow mean of the working samples
    std::array<float, 2> betrag_{};        // peak magnitude after it
    std::vector<Halbwelle> speicher_;
    std::array<std::array<Laufschreiber, 2>, 3> schreiber_{};
    // Each channel's conditioner starts a cache line: where an object starts
    // decides whether a field that its loop stores and reloads as a vector
    // straddles two lines, and such a straddling pair stalls the loop.
    template <class T>
    struct alignas(64) AmZeilenanfang : T {};
    std::array<AmZeilenanfang<FmsAufbereitung>, 2> fms_;
    std::array<AmZeilenanfang<PocAufbereitung>, 2> poc_;
    std::array<AmZeilenanfang<Tonerkennung>, 2> ton_;
    Tabellen tabellen_;
};

}  // namespace tonwerk
