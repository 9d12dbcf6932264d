// What each send format can carry. The library codes whatever it is given
// (an unknown Kennung digit as 0, only the low four bits of a status, ...), so
// the tool checks every argument first and refuses with a Bedienfehler naming
// the argument and its allowed values; nothing is sent then.
#pragma once

#include <string>

#include "tonwerk/core/funkwandler.h"

namespace tonwerk::werkzeug {

// `name wert` outside von..bis.
void bereichPruefen(const std::string& name, long long wert, long long von, long long bis);

// Exactly 8 hexadecimal digits.
void fmsKennungPruefen(const std::string& kennung);
// A short text travels only with status 10 in direction 1 (and, with
// `trbos`, TKI 3 and Baustufe 0); at most 99 characters of the FMS set.
void fmsTextPruefen(const std::string& text, Integer status, Integer richtung, Integer tki, Integer baustufe,
                    bool trbos);
// At most 255 characters that read back as sent.
void pocTextPruefen(const std::string& text);
// The pager function of --funktion as the events count it, 1 to 4, or as a
// letter A to D; the library's function bits are one less. 0 is refused even
// raw: it meant A when the option counted 0 to 3, and an old script must not
// silently page another function. With `roh` other numbers pass unchecked.
Long pocFunktionsbits(const std::string& wert, bool roh);
// Exactly 5 digits.
void zveiRufnummerPruefen(const std::string& rufnummer);

}  // namespace tonwerk::werkzeug
