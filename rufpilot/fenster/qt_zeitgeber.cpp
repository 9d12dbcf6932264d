#include "rufpilot/fenster/qt_zeitgeber.h"

#include <algorithm>

namespace rufpilot {

QtZeitgeber::QtZeitgeber() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { abgelaufen(); });
}

void QtZeitgeber::aktivieren(int intervallMs, std::function<void()> tick) {
    tick_ = std::move(tick);
    aktiv_ = true;
    timer_.start(std::max(intervallMs, 0));
}

void QtZeitgeber::deaktivieren() {
    aktiv_ = false;
    timer_.stop();
}

void QtZeitgeber::abgelaufen() {
    if (!aktiv_) return;
    // start() registers a new timer, which the event loop may fire while the
    // tick below is still running.
    timer_.start();
    // A copy: the tick may re-arm this timer with another function.
    const std::function<void()> tick = tick_;
    if (tick) tick();
}

}  // namespace rufpilot
