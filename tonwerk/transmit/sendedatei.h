// The Sendedatei: every transmission is written as a complete WAV file (8-bit
// mono, 11025 Hz) into the transmit directory and then played on the sound
// output, which blocks until the radio has sent it. The file stays on disk until
// the next transmission of its kind replaces it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/platform/sound_ausgabe.h"

namespace tonwerk {

inline constexpr std::string_view kSendedatei = "test.wav";      // FMS, ZVEI, tone calls
inline constexpr std::string_view kPocSendedatei = "pocaus.wav";  // POCSAG

// A directory private to the user where possible: $XDG_RUNTIME_DIR, else the
// system's temporary directory.
std::filesystem::path standardSendeverzeichnis();

// `name` in the configured transmit directory, or in the standard one when none is set.
std::filesystem::path sendedateiPfad(const Einstellungen& e, std::string_view name);

// Replaces any file at `pfad` by the header, `stilleVorweg` silent samples and
// the samples. The silence is written a second at a time, never held whole in
// memory. File errors are thrown as std::system_error carrying errno; a sample
// count the header cannot state is refused with std::overflow_error before the
// file is touched.
void SendedateiSchreiben(const std::filesystem::path& pfad, std::span<const std::uint8_t> proben,
                         std::int64_t stilleVorweg = 0);

// Writes the samples, after `stilleVorweg` silent ones, to the transmit file
// `name` and plays it; returns when played.
void SendedateiSenden(const Einstellungen& e, std::string_view name, std::span<const std::uint8_t> proben,
                      SoundAusgabe& ausgabe, std::int64_t stilleVorweg = 0);

}  // namespace tonwerk
