// UTF-8, the encoding of every text at the library's interface.
#pragma once

#include <string>
#include <string_view>

namespace tonwerk {

// Stands for each byte that is not part of a well-formed sequence.
inline constexpr char32_t kUtf8Ersatz = 0xFFFD;

// Code points of a UTF-8 text. Each byte of a malformed, truncated, overlong or
// surrogate sequence becomes one kUtf8Ersatz, so no input is lost or merged.
std::u32string Utf8Dekodieren(std::string_view utf8);

// Appends the UTF-8 bytes of a code point (at most U+10FFFF).
void Utf8Anhaengen(std::string& aus, char32_t zeichen);

}  // namespace tonwerk
