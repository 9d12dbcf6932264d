// Radio recording: both input channels, exactly as captured, into a WAV file
// for a number of seconds. The recorder has no buffer or thread of its own:
// the dispatcher hands it every captured block, Timer2 counts its seconds.
//
// File: 44-byte RIFF/WAVE header (PCM, 2 channels, 8-bit unsigned, capture
// rate), then the frames, left byte first. The header is reserved when the file
// is created, its two lengths are brought up to date every second and it is
// rewritten with the final lengths when the recording ends, so the file is a
// valid WAV file at every moment and keeps every captured frame; a recording
// cut off by a crash or power loss loses at most its last second.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/records.h"

namespace tonwerk {

class Aufnahme {
public:
    // `einstellungen` gives the capture rate the header states; `zeitAbgelaufen`
    // raises WaveRecordEnd. Both must outlive the recorder.
    Aufnahme(const Einstellungen& einstellungen, std::function<void()> zeitAbgelaufen);
    ~Aufnahme();  // ends a running recording, header written, no event
    Aufnahme(const Aufnahme&) = delete;
    Aufnahme& operator=(const Aufnahme&) = delete;

    // 0 = started (also when the file cannot be created: then nothing is
    // recorded), 1 = already recording: its seconds restart with the new length
    // and DateiName is ignored, 2 = ZeitLaenge 0. Throws std::overflow_error,
    // changing nothing, when ZeitLaenge does not fit an Integer.
    Long FunkAufzeichnen(Long ZeitLaenge, const std::string& DateiName);

    // A captured block, from the dispatcher; appended while a recording runs.
    void blockSchreiben(const std::uint8_t* daten, std::size_t bytes);
    // One second of Timer2: ends the recording with WaveRecordEnd when its time is
    // up, else states the audio written so far in the header.
    void sekunde();
    // Ends a running recording without the event (Soundstop).
    void beenden();

    bool AufnahmeAktiv() const { return aktiv_; }
    const std::string& AufnahmeName() const { return name_; }
    Long AufnahmeBloecke() const { return bloecke_; }
    Integer AufnahmeDauer() const { return dauer_; }
    Integer AufnahmeSekunden() const { return sekunden_; }

private:
    void Aufnahmeschluss();
    void laengenSchreiben();

    const Einstellungen& e_;
    std::function<void()> zeitAbgelaufen_;
    bool aktiv_ = false;
    int datei_ = -1;
    std::string name_;
    Long bloecke_ = 0;
    std::uint64_t datenBytes_ = 0;  // audio bytes meant to be written
    Integer dauer_ = 0;
    Integer sekunden_ = 0;
};

}  // namespace tonwerk
