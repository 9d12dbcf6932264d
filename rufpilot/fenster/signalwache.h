// Turns SIGINT, SIGTERM and SIGHUP into a call on the window's thread. The
// handler only writes the signal's number to a pipe; a socket notifier reads
// it in the event loop. So a service manager's stop or a shutdown runs the
// window's own close sequence, never code inside a signal handler.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <functional>

namespace rufpilot {

class Signalwache : public QObject {
public:
    // `beiSignal` runs in the event loop with the signal's number. One watch
    // at a time; the previous handlers come back when it goes.
    explicit Signalwache(std::function<void(int)> beiSignal, QObject* parent = nullptr);
    ~Signalwache() override;
    Signalwache(const Signalwache&) = delete;
    Signalwache& operator=(const Signalwache&) = delete;

private:
    void lesen();

    std::function<void(int)> beiSignal_;
    int rohr_[2] = {-1, -1};
    QSocketNotifier* melder_ = nullptr;
    struct sigaction vorher_[3] = {};
};

}  // namespace rufpilot
