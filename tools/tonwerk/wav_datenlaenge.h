// The true length of a WAV file's audio. A recorder cut off before it wrote its
// final lengths leaves a header that states fewer data bytes than follow it; a
// reader that trusts the header finds an empty or short recording.
#pragma once

#include <cstdint>
#include <optional>

namespace tonwerk::werkzeug {

struct WavDatenlaenge {
    std::int64_t datenStelle = 0;  // offset of the first audio byte
    std::uint32_t angegeben = 0;   // data bytes the header states
    std::uint32_t vorhanden = 0;   // bytes of whole frames up to the end of the file
    std::uint32_t riff = 0;        // RIFF size for `vorhanden` data bytes
};

// Set when the file open at `fd` (`laenge` bytes) is a RIFF/WAVE file whose data
// chunk states fewer bytes than follow it and what follows the stated end is no
// sequence of chunks (such as metadata behind the audio); empty otherwise, also
// for anything that is not such a file.
std::optional<WavDatenlaenge> wavDatenlaengeKorrigiert(int fd, std::int64_t laenge);

}  // namespace tonwerk::werkzeug
