// A value passed to or from a member by name: a number (Integer, Long and
// Boolean all travel as Long) or a text.
#pragma once

#include <string>
#include <variant>

#include "tonwerk/core/records.h"

namespace tonwerk {

using Wert = std::variant<Long, std::string>;

}  // namespace tonwerk
