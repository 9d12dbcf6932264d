#include <QApplication>
#include <QtTest>

#include "fenster_tests.h"
#include "rufpilot/fenster/deutsch.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    rufpilot::DeutscheTexte deutsch(app);
    int fehler = 0;
    {
        rufpilot::test::Form1Test t;
        fehler += QTest::qExec(&t, argc, argv);
    }
    {
        rufpilot::test::DialogTest t;
        fehler += QTest::qExec(&t, argc, argv);
    }
    {
        rufpilot::test::ZeitgeberTest t;
        fehler += QTest::qExec(&t, argc, argv);
    }
    return fehler == 0 ? 0 : 1;
}
