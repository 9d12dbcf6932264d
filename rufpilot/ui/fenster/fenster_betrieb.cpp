#include "rufpilot/ui/fenster/fenster_betrieb.h"

#include <QApplication>
#include <QMessageBox>
#include <csignal>

#include "rufpilot/dispatch/anwendung.h"
#include "rufpilot/ui/quellenstart.h"
#include "rufpilot/ui/einzelinstanz.h"
#include "rufpilot/ui/maschinensperre.h"
#include "rufpilot/ui/fenster/deutsch.h"
#include "rufpilot/ui/fenster/form1.h"
#include "rufpilot/ui/fenster/qt_schleife.h"
#include "rufpilot/ui/fenster/qt_zeitgeber.h"
#include "rufpilot/ui/fenster/signalwache.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/alsa_ausgabe.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "tonwerk/platform/echtzeit.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/termios_anschluss.h"

namespace rufpilot {

int fensterBetreiben(const Betriebsoptionen& optionen, int& argc, char** argv) {
    QApplication app(argc, argv);
    DeutscheTexte deutsch(app);
    Einzelinstanz instanz(optionen.verzeichnis);
    if (!instanz.gehalten()) {
        QMessageBox::information(nullptr, QStringLiteral("Rufpilot"), QString::fromStdString(instanz.meldung()),
                                 QMessageBox::Ok);
        return 1;
    }
    tonwerk::TermiosAnschluss anschluss;
    for (const auto& [port, geraet] : optionen.ports) anschluss.geraetSetzen(port, geraet);
    const Maschinensperre sperre(sperrverzeichnis(), betriebsmittel(optionen.verzeichnis, optionen.pcm,
                                                                     [&](int p) { return anschluss.geraet(p); }));
    if (!sperre.gehalten()) {
        QMessageBox::information(nullptr, QStringLiteral("Rufpilot"), QString::fromStdString(sperre.meldung()),
                                 QMessageBox::Ok);
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);

    QtSchleife schleife;
    QtZeitgeber timer1, timer2, fensterTimer, pumpe;
    tonwerk::AlsaEingang eingang;
    tonwerk::AlsaAusgabe ausgabe(optionen.pcm);
    tonwerk::KeinAnschluss steuerungsAnschluss;  // the control's own keying stays unused
    tonwerk::SystemUhr uhr;
    tonwerk::Funkwandler fw(tonwerk::Plattform{eingang, ausgabe, steuerungsAnschluss, timer1, timer2, uhr});
    Quellenstart quelle(optionen.verzeichnis, schleife);

    Form1 form;
    Anwendung anwendung(
        Anwendungsteile{form, schleife, fw, anschluss, quelle.treiber(), fensterTimer, optionen.verzeichnis});
    form.anbinden(anwendung);
    // Hidden in the tray is no reason to end; only the close sequence ends it.
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(&form, &Form1::geschlossen, &app, &QCoreApplication::quit);
    quelle.anbinden(anwendung.vermittlung());
    anwendung.starten();
    // SIP retransmissions and replies cannot wait for the monitor's tick.
    if (quelle.brauchtPumpe()) pumpe.aktivieren(20, [&quelle] { quelle.treiber().pumpen(); });
    // A stop by signal ends every event loop once the stack has unwound to
    // them: a send in progress finishes first (its guard releases the line,
    // the call is logged), then the close sequence runs as after "Ja". Not
    // quit(): that asks the window, and the window would ask a person.
    Signalwache wache([](int) { QCoreApplication::exit(0); });
    form.show();
    const int status = app.exec();
    form.abschalten();  // nothing left to do after the close sequence
    return status;
}

}  // namespace rufpilot
