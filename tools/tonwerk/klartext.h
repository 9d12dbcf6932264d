// The text of a message as people and machines want it: a POCSAG message at
// 1200 bit/s is padded to its codeword with NUL characters, which the library
// shows as "[NULL]", and an FMS short text is padded with blanks. The library's
// Text keeps everything received; Klartext drops that padding at the end.
#pragma once

#include <string>

namespace tonwerk::werkzeug {

std::string klartext(const std::string& text);

}  // namespace tonwerk::werkzeug
