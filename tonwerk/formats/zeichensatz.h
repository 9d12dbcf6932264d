// The 7-bit character set of FMS short texts and POCSAG messages: ASCII with the
// German substitutions of DIN 66003 (§ Ä Ö Ü ä ö ü ß at 0x40, 0x5B-0x5D, 0x7B-0x7E).
// Texts are UTF-8 at the library's interface; a character outside the table is
// sent as the low 7 bits of its Windows-1252 code, and one that Windows-1252 lacks
// (and any malformed UTF-8 byte) as '?'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tonwerk/formats/utf8.h"

namespace tonwerk {

// 7-bit code of one character.
std::uint8_t ZeichenZuCode(char32_t zeichen);

// 7-bit codes of the first `hoechstens` characters of a UTF-8 text.
std::vector<std::uint8_t> TextZuCodes(std::string_view utf8, std::size_t hoechstens = SIZE_MAX);

// UTF-8 of a received code (low 7 bits); control codes 0-31 and 127 read as a space.
std::string_view CodeZuZeichen(int code);

}  // namespace tonwerk
