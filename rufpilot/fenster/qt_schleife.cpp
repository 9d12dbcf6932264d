#include "rufpilot/fenster/qt_schleife.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <algorithm>
#include <chrono>

namespace rufpilot {

void QtSchleife::ereignisseVerarbeiten() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtSchleife::schlafen(int ms) { QThread::msleep(static_cast<unsigned long>(std::max(ms, 0))); }

std::int64_t QtSchleife::monotonMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Ortszeit QtSchleife::jetzt() const {
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime z = t.time();
    return Ortszeit{d.year(), d.month(), d.day(), z.hour(), z.minute(), z.second(), z.msec()};
}

}  // namespace rufpilot
