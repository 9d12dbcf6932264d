// Small whole-file operations for the gateway's text files. Reads are capped so
// that a wrong or damaged file never fills the memory; failures to write throw
// with the file's path in the message.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace rufpilot {

// The first `hoechstens` bytes of the file; nullopt when it does not exist or
// cannot be read (a directory, no permission).
std::optional<std::string> dateiAnfangLesen(const std::filesystem::path& datei, std::size_t hoechstens);

// The last `hoechstens` bytes of the file (all of it when it is shorter);
// nullopt as above.
std::optional<std::string> dateiEndeLesen(const std::filesystem::path& datei, std::size_t hoechstens);

// Replaces the file by one holding exactly `inhalt`. The text goes to a
// neighbouring temporary file first and then takes the file's place, so a
// failed write leaves the old file as it was. Throws std::system_error.
void dateiErsetzen(const std::filesystem::path& datei, std::string_view inhalt);

// Appends `zeile` and CR LF, creating the file when missing. A file whose last
// line lacks its end gets one first, so neither line runs into the other.
// Throws std::system_error.
void zeileAnhaengen(const std::filesystem::path& datei, std::string_view zeile);

// Splits text into lines at CR LF, LF or a lone CR; a last line without an end
// counts, an end at the very end of the text opens no further line.
template <typename Zeile>
void zeilenDurchgehen(std::string_view text, Zeile&& zeile) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t ende = text.find_first_of("\r\n", i);
        if (ende == std::string_view::npos) ende = text.size();
        if (!zeile(text.substr(i, ende - i))) return;
        i = ende;
        if (i < text.size()) i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    }
}

}  // namespace rufpilot
