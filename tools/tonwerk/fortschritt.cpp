#include "fortschritt.h"

#include <unistd.h>

#include <cstdio>

namespace tonwerk::werkzeug {

Fortschritt::Fortschritt(std::int64_t gesamt, int abtastrate)
    // Short files decode in a blink; a bar would only flicker.
    : gesamt_(gesamt), abtastrate_(abtastrate),
      aktiv_(gesamt > 60LL * abtastrate && isatty(STDERR_FILENO) == 1) {}

void Fortschritt::melden(std::int64_t erreicht) {
    if (!aktiv_) return;
    const int promille = static_cast<int>(erreicht * 1000 / gesamt_);
    if (promille == letztesPromille_) return;
    letztesPromille_ = promille;
    constexpr int kBreite = 40;
    const int voll = promille * kBreite / 1000;
    char balken[kBreite + 1];
    for (int i = 0; i < kBreite; ++i) balken[i] = i < voll ? '#' : '.';
    balken[kBreite] = '\0';
    std::fprintf(stderr, "\r[%s] %5.1f %%  %.0f / %.0f s", balken, promille / 10.0,
                 static_cast<double>(erreicht) / abtastrate_, static_cast<double>(gesamt_) / abtastrate_);
    std::fflush(stderr);
    sichtbar_ = true;
}

void Fortschritt::loeschen() {
    if (!sichtbar_) return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    sichtbar_ = false;
    letztesPromille_ = -1;
}

}  // namespace tonwerk::werkzeug
