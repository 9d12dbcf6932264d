// `--set NAME=VALUE`: writes a property by name, taking the value as its type wants.
#pragma once

#include <string>
#include <vector>

#include "tonwerk/core/funkwandler.h"

namespace tonwerk::werkzeug {

// Throws std::invalid_argument / std::out_of_range with a readable message.
void eigenschaftSetzen(Funkwandler& fw, const std::string& zuweisung);
void eigenschaftenSetzen(Funkwandler& fw, const std::vector<std::string>& zuweisungen);

}  // namespace tonwerk::werkzeug
