// The event loop of the live commands: sleeps until a timer is due, lets it
// tick, and runs until the caller is satisfied or Ctrl+C, SIGTERM or SIGHUP
// arrives (Abbruchsignale::empfangen() then tells which).
#pragma once

#include <functional>

#include "tonwerk/platform/echtzeit.h"

namespace tonwerk::werkzeug {

// Returns true when the loop ended by a signal.
bool liveSchleife(SchleifenZeitgeber& timer1, SchleifenZeitgeber& timer2, const std::function<bool()>& fertig);

}  // namespace tonwerk::werkzeug
