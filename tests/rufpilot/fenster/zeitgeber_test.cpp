// The Qt timer and loop under the gateway: a tick that lets events run sees
// the next tick of the same timer inside it, as a nested call needs; a stop by
// signal reaches the waits of a running dispatch.
#include <QtTest>
#include <csignal>

#include "fenster_tests.h"
#include "rufpilot/fenster/fenster_betrieb.h"
#include "rufpilot/fenster/qt_schleife.h"
#include "rufpilot/fenster/qt_zeitgeber.h"

namespace rufpilot::test {

void ZeitgeberTest::tickLaeuftVerschachtelt() {
    QtSchleife schleife;
    QtZeitgeber timer;
    int tiefe = 0, tiefste = 0, ticks = 0;
    timer.aktivieren(0, [&] {
        ++ticks;
        ++tiefe;
        tiefste = std::max(tiefste, tiefe);
        // The first tick waits, letting events run, until a second one came.
        for (int i = 0; i < 10000 && tiefe == 1 && ticks < 2; ++i) schleife.ereignisseVerarbeiten();
        --tiefe;
        if (ticks >= 2) timer.deaktivieren();
    });
    for (int i = 0; i < 10000 && timer.aktiv(); ++i) schleife.ereignisseVerarbeiten();
    QCOMPARE(tiefste, 2);
    QVERIFY(!timer.aktiv());
    const int danach = ticks;
    for (int i = 0; i < 100; ++i) schleife.ereignisseVerarbeiten();
    QCOMPARE(ticks, danach);  // stopped means stopped
}

// The window's signal watch tells the loop the waits run on: the next step of
// a wait (events, then endeVerlangt) leaves the dispatch, as headless.
void ZeitgeberTest::signalBeendetDieWarten() {
    QtSchleife schleife;
    QVERIFY(!schleife.endeVerlangt());
    {
        const auto wache = stopBeiSignal(schleife);
        for (int i = 0; i < 100; ++i) schleife.ereignisseVerarbeiten();
        QVERIFY(!schleife.endeVerlangt());  // nothing without a signal
        QCOMPARE(std::raise(SIGTERM), 0);
        for (int i = 0; i < 10000 && !schleife.endeVerlangt(); ++i) schleife.ereignisseVerarbeiten();
        QVERIFY(schleife.endeVerlangt());
    }
}

}  // namespace rufpilot::test
