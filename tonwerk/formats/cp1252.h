// Windows-1252, the code page of "ANSI" text: files of the gateway and the
// character codes of FMS and POCSAG texts. Texts are UTF-8 inside the program.
#pragma once

#include <string>
#include <string_view>

namespace tonwerk {

// Byte of a character in Windows-1252 (0..255); a character the code page
// lacks becomes '?'. The five unassigned bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D
// stand for the C1 controls of the same value, as Windows maps them.
int Cp1252Code(char32_t zeichen);

// Character of a Windows-1252 byte.
char32_t Cp1252Zeichen(unsigned char byte);

// Every byte is a character, so any input converts.
std::string Cp1252ZuUtf8(std::string_view cp1252);

// A character the code page lacks, and each malformed UTF-8 byte, becomes '?'.
std::string Utf8ZuCp1252(std::string_view utf8);

}  // namespace tonwerk
