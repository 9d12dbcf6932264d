// A periodic timer on the window's thread. Each tick re-arms the timer before
// it runs, so a tick that waits (and lets events run) sees the next ticks of
// the same timer inside it, as the gateway's nested call handling expects; a
// plain repeating QTimer is never re-entered while its slot runs.
#pragma once

#include <QTimer>
#include <functional>

#include "tonwerk/platform/zeitgeber.h"

namespace rufpilot {

class QtZeitgeber : public tonwerk::Zeitgeber {
public:
    QtZeitgeber();
    void aktivieren(int intervallMs, std::function<void()> tick) override;
    void deaktivieren() override;
    bool aktiv() const { return aktiv_; }

private:
    void abgelaufen();

    QTimer timer_;
    std::function<void()> tick_;
    bool aktiv_ = false;
};

}  // namespace rufpilot
