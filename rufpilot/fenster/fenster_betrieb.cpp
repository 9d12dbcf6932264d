#include "rufpilot/fenster/fenster_betrieb.h"

#include <QApplication>
#include <QMessageBox>
#include <csignal>

#include "rufpilot/betrieb/betriebsaufbau.h"
#include "rufpilot/betrieb/einzelinstanz.h"
#include "rufpilot/fenster/deutsch.h"
#include "rufpilot/fenster/form1.h"
#include "rufpilot/fenster/qt_schleife.h"
#include "rufpilot/fenster/qt_zeitgeber.h"
#include "rufpilot/fenster/signalwache.h"

namespace rufpilot {

std::unique_ptr<Signalwache> stopBeiSignal(QtSchleife& schleife) {
    return std::make_unique<Signalwache>([&schleife](int) {
        schleife.endeVerlangen();
        QCoreApplication::exit(0);
    });
}

int fensterBetreiben(const Betriebsoptionen& optionen, int& argc, char** argv) {
    QApplication app(argc, argv);
    DeutscheTexte deutsch(app);
    Einzelinstanz instanz(optionen.verzeichnis);
    if (!instanz.gehalten()) {
        QMessageBox::information(nullptr, QStringLiteral("Rufpilot"), QString::fromStdString(instanz.meldung()),
                                 QMessageBox::Ok);
        return 1;
    }
    const auto sperre = maschineSperren(optionen);
    if (!sperre->gehalten()) {
        QMessageBox::information(nullptr, QStringLiteral("Rufpilot"), QString::fromStdString(sperre->meldung()),
                                 QMessageBox::Ok);
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);

    QtSchleife schleife;
    QtZeitgeber timer1, timer2, fensterTimer, pumpe;
    Form1 form;
    Betriebsaufbau aufbau(optionen, schleife, {timer1, timer2, fensterTimer, pumpe}, form);
    form.anbinden(aufbau.anwendung());
    // Hidden in the tray is no reason to end; only the close sequence ends it.
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(&form, &Form1::geschlossen, &app, &QCoreApplication::quit);
    aufbau.starten();
    const auto wache = stopBeiSignal(schleife);
    form.show();
    const int status = app.exec();
    form.abschalten();  // nothing left to do after the close sequence
    return status;
}

}  // namespace rufpilot
