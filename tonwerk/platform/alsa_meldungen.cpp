#include "tonwerk/platform/alsa_meldungen.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace tonwerk {

namespace {

// ALSA's handler is one per process by its own design; so is what it keeps.
std::mutex gMutex;
std::string gLetzte;  // guarded by gMutex
std::atomic<int> gAnzahl{0};

extern "C" void alsaMeldung(const char* datei, int zeile, const char* funktion, int, const char* format, ...) {
    char text[512];
    va_list argumente;
    va_start(argumente, format);
    std::vsnprintf(text, sizeof text, format, argumente);
    va_end(argumente);
    char ort[256];
    std::snprintf(ort, sizeof ort, "%s:%d:(%s) ", datei ? datei : "?", zeile, funktion ? funktion : "?");
    const std::lock_guard lock(gMutex);
    gLetzte = std::string(ort) + text;
    ++gAnzahl;
}

}  // namespace

void alsaMeldungenUmleiten() { snd_lib_error_set_handler(alsaMeldung); }

int alsaMeldungenAnzahl() { return gAnzahl.load(); }

std::string letzteAlsaMeldung() {
    const std::lock_guard lock(gMutex);
    return gLetzte;
}

}  // namespace tonwerk
