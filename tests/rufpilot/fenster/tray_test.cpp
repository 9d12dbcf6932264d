// The tray for real, under Xvfb with a tray host (tray_test.sh): the window
// hides behind its icon and comes back when the icon is clicked. The script
// clicks once this program reports "IM_TRAY"; every wait here is bounded and
// only bounds a failure.
#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <cstdio>
#include <functional>

#include "rufpilot/fenster/form1.h"

namespace {

bool warten(const std::function<bool()>& bedingung, int ms) {
    QDeadlineTimer frist(ms);
    while (!bedingung()) {
        if (frist.hasExpired()) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

int fehler(const char* text) {
    std::fprintf(stderr, "tray_test: %s\n", text);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    rufpilot::Form1 form;
    form.show();
    if (!warten([&] { return form.isVisible(); }, 20000)) return fehler("Fenster nicht sichtbar");
    if (!warten([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 20000)) return fehler("kein Tray");
    form.inDenTray();
    if (form.isVisible() || !form.trayicon() || !form.trayicon()->isVisible()) return fehler("nicht im Tray");
    if (!warten([&] { return form.trayicon()->geometry().isValid(); }, 20000)) return fehler("Icon nicht angedockt");
    std::printf("IM_TRAY\n");
    std::fflush(stdout);
    if (!warten([&] { return form.isVisible(); }, 30000)) return fehler("Klick auf das Icon zeigte das Fenster nicht");
    std::printf("WIEDER_DA\n");
    return 0;
}
