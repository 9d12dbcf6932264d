// Adds what an event means to its printed fields: for FMS the organisation,
// federal state and status text, for POCSAG the function letter, for the
// additional signals their tones and meaning, and for FMS, ZVEI and POCSAG the
// user's name from the alias table.
#pragma once

#include <nlohmann/json.hpp>

#include "alarm/alias_tabelle.h"

namespace tonwerk::werkzeug {

// `name` is the event's name as printed (FMSDecodierung, POCDecodierung, ...);
// other events are left alone.
void bedeutungenErgaenzen(const char* name, nlohmann::ordered_json& felder, const AliasTabelle& aliase);

}  // namespace tonwerk::werkzeug
