// ALSA's library prints its own English lines to stderr for every failed open
// ("ALSA lib confmisc.c:...", five or more on a machine without a sound card)
// before the program can say anything. One handler takes all of them for the
// whole process, so that a program says once, in its own words, which device
// it could not open, where it tried.
#pragma once

#include <string>

namespace tonwerk {

// Routes ALSA's error lines to the handler; call once at the start of main.
void alsaMeldungenUmleiten();

// How many lines ALSA reported since then, and the last one (for a program
// that wants to show the library's own detail beside its message).
int alsaMeldungenAnzahl();
std::string letzteAlsaMeldung();

}  // namespace tonwerk
