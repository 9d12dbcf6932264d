#include "rufpilot/fenster/signalwache.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace rufpilot {

namespace {

constexpr int kSignale[3] = {SIGINT, SIGTERM, SIGHUP};

// The pipe's write end for the handler: only a signal handler may read it,
// and it can reach nothing else.
volatile sig_atomic_t gSchreibende = -1;

extern "C" void signalMelden(int signal) {
    const int fehler = errno;
    const unsigned char nummer = static_cast<unsigned char>(signal);
    if (gSchreibende >= 0) {
        // A full pipe drops the signal: one pending is enough to close.
        [[maybe_unused]] const auto n = ::write(gSchreibende, &nummer, 1);
    }
    errno = fehler;
}

}  // namespace

Signalwache::Signalwache(std::function<void(int)> beiSignal, QObject* parent)
    : QObject(parent), beiSignal_(std::move(beiSignal)) {
    if (::pipe2(rohr_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "Signalwache");
    gSchreibende = rohr_[1];
    melder_ = new QSocketNotifier(rohr_[0], QSocketNotifier::Read, this);
    connect(melder_, &QSocketNotifier::activated, this, [this] { lesen(); });
    struct sigaction aktion {};
    aktion.sa_handler = signalMelden;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) sigaction(kSignale[i], &aktion, &vorher_[i]);
}

Signalwache::~Signalwache() {
    for (int i = 0; i < 3; ++i) sigaction(kSignale[i], &vorher_[i], nullptr);
    gSchreibende = -1;
    delete melder_;
    ::close(rohr_[0]);
    ::close(rohr_[1]);
}

void Signalwache::lesen() {
    unsigned char nummer = 0;
    while (::read(rohr_[0], &nummer, 1) == 1) {
        if (beiSignal_) beiSignal_(nummer);
    }
}

}  // namespace rufpilot
