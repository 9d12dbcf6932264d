// Capture and block dispatcher: keeps four buffers queued on the sound input,
// and on every timer tick takes at most one filled buffer, measures its level,
// turns both channels into run tables and hands them on, then requeues it.
//
// A run enters a table only when it ends, so a signal followed by input that
// never changes sign (a receiver's squelch delivers exact mid-scale) would stay
// unreported until the next sound. The dispatcher therefore follows the true
// length of each channel's open run (the carried Lauflaenge is cut back after a
// buffer without a change) and tells the receiver once when it has outgrown
// every run a decoder accepts.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tonwerk/core/halbwellenanalyse.h"
#include "tonwerk/core/records.h"
#include "tonwerk/platform/sound_eingang.h"

namespace tonwerk {

// What the dispatcher hands a processed buffer to, in this order.
class BlockEmpfaenger {
public:
    virtual ~BlockEmpfaenger() = default;
    virtual void pegel(SignalstaerkeType& wert) = 0;
    virtual void blockSchreiben(const std::uint8_t* daten, std::size_t bytes) = 0;
    // Runs the decoders of both channels on the tables of the buffer just analysed.
    virtual void dekodieren(const std::array<Laeufe, 2>& laeufe) = 0;
    // The same with the buffer itself (`frames` stereo frames), for receivers
    // that condition the audio before decoding; the dispatcher calls this one.
    virtual void pufferDekodieren(const std::array<Laeufe, 2>& laeufe, const std::uint8_t* daten, int frames) {
        (void)daten;
        (void)frames;
        dekodieren(laeufe);
    }
    // The longest run any decoder takes as part of a signal, in samples.
    virtual std::int32_t laengsterLauf() const = 0;
    // The signal of each flagged channel has ended: its open run has grown longer
    // than laengsterLauf. Called after dekodieren, once per such run.
    virtual void signalEnde(const std::array<bool, 2>& kanaele) = 0;
    virtual void ueberlauf(Long zaehler) = 0;
};

class Blockverteiler {
public:
    static constexpr int kPufferBytes = 22051;
    static constexpr int kMaxFrames = 11025;

    Blockverteiler();

    // Opens device `karte` at `abtastrate`, prepares and queues the four buffers
    // of `frames` stereo frames (clamped to 1..11025) and starts the device.
    // Returns the device's result of starting.
    Long starten(SoundEingang& eingang, Long karte, Long abtastrate, Long frames);
    // Processes at most one filled buffer.
    void tick(SoundEingang& eingang, BlockEmpfaenger& empfaenger, Integer sampleFehlerRate);
    // Resets and closes the device; returns the result of closing.
    Long stoppen(SoundEingang& eingang);

    const LaufZustand& laufZustand(int kanal) const { return lauf_[kanal]; }
    std::int32_t offenerLauf(int kanal) const { return offenerLauf_[kanal]; }

private:
    std::vector<std::uint8_t> speicher_;                   // four capture buffers
    std::vector<Halbwelle> tabellen_;                       // eight run-table slots
    std::array<LaufZustand, 2> lauf_{};
    std::array<std::int32_t, 2> offenerLauf_{1, 1};  // uncut length of the open run
    std::array<bool, 2> endeGemeldet_{};              // its signal end has been told
    int frames_ = 5512;
    Integer pufferIndex_ = 0;
    Long ueberlaufZaehler_ = 0;

    std::uint8_t* puffer(int b) { return speicher_.data() + static_cast<std::size_t>(b) * kPufferBytes; }
    Halbwelle* slot(int s) { return tabellen_.data() + static_cast<std::size_t>(s) * (kMaxFrames + 1); }
};

// The buffer length actually used for a stored RecordPufferSize: the capture
// memory holds at most 11025 frames and a buffer needs at least one.
int nutzbarePufferFrames(Long recordPufferSize);

}  // namespace tonwerk
