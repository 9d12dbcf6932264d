#include "abbruchsignale.h"

#include <atomic>
#include <csignal>

namespace tonwerk::werkzeug {

namespace {

constexpr int kSignale[] = {SIGINT, SIGTERM, SIGHUP};
std::atomic<int> letztes{0};
struct sigaction vorher[3];
// Nested guards share the outermost one's handlers: an inner one must neither
// forget a signal that came before it nor restore the default too early.
int tiefe = 0;

extern "C" void merken(int signal) { letztes = signal; }

}  // namespace

Abbruchsignale::Abbruchsignale() {
    if (tiefe++ > 0) return;
    letztes = 0;
    struct sigaction neu {};
    neu.sa_handler = merken;
    sigemptyset(&neu.sa_mask);
    // No SA_RESTART: a blocking wait returns early and the loop looks again.
    for (int i = 0; i < 3; ++i) sigaction(kSignale[i], &neu, &vorher[i]);
}

Abbruchsignale::~Abbruchsignale() {
    if (--tiefe > 0) return;
    for (int i = 0; i < 3; ++i) sigaction(kSignale[i], &vorher[i], nullptr);
}

int Abbruchsignale::empfangen() { return letztes; }

}  // namespace tonwerk::werkzeug
