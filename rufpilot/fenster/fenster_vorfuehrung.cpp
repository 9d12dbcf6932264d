// The demo seen through the window: screenshots, and the calls shown live.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "rufpilot/demo/simulierte_welt.h"
#include "rufpilot/demo/vorfuehrung.h"
#include "rufpilot/betrieb/echtzeit_schleife.h"
#include "rufpilot/fenster/deutsch.h"
#include "rufpilot/fenster/fenster_betrieb.h"
#include "rufpilot/fenster/form1.h"
#include "rufpilot/fenster/form2.h"
#include "rufpilot/fenster/form3.h"

namespace rufpilot {

namespace {

namespace fs = std::filesystem;

fs::path tempVerzeichnis() {
    std::string muster = (fs::temp_directory_path() / "rufpilot-bilder-XXXXXX").string();
    if (!mkdtemp(muster.data())) throw std::runtime_error("kein temporäres Verzeichnis: " + muster);
    return muster;
}

bool speichern(QWidget& w, const fs::path& datei) {
    QApplication::processEvents();
    const bool ok = w.grab().save(QString::fromStdString(datei.string()));
    if (!ok) std::cerr << "rufpilot: " << datei.string() << " nicht geschrieben\n";
    return ok;
}

}  // namespace

int bildschirmfotosSpeichern(const fs::path& ziel, int& argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DeutscheTexte deutsch(app);
    fs::create_directories(ziel);
    const fs::path daten = tempVerzeichnis();

    Form1 form;
    bool ok = true;
    Vorfuehrungshaken haken;
    haken.fenster = &form;
    haken.hoechstensAnrufe = 1;
    haken.gestartet = [&](SimulierteWelt& w) { form.anbinden(w.anwendung); };
    haken.vorEnde = [&](SimulierteWelt& w) {
        form.show();
        ok = speichern(form, ziel / "Form1.png") && ok;
        Form2 einstellungen(w.anwendung, &form);
        einstellungen.tabelle().selectRow(1);
        einstellungen.show();
        ok = speichern(einstellungen, ziel / "Form2.png") && ok;
        Form3 neu(&einstellungen);
        if (auto* f = neu.findChild<QLineEdit*>(QStringLiteral("kennung"))) f->setText(QStringLiteral("6A1B2349"));
        if (auto* f = neu.findChild<QLineEdit*>(QStringLiteral("telefon"))) f->setText(QStringLiteral("01601234567"));
        neu.show();
        ok = speichern(neu, ziel / "Form3.png") && ok;
        form.hide();
    };
    std::ostringstream still;
    vorfuehrungSpielen(daten, still, EchtzeitSchleife().jetzt(), haken);
    std::error_code ec;
    fs::remove_all(daten, ec);
    if (ok) std::cout << "Form1.png, Form2.png, Form3.png in " << ziel.string() << '\n';
    return ok ? 0 : 1;
}

int fensterVorfuehren(const std::optional<fs::path>& verzeichnis, std::ostream& aus, double tempo, int& argc,
                      char** argv, Quellenart quelle) {
    QApplication app(argc, argv);
    DeutscheTexte deutsch(app);
    app.setQuitOnLastWindowClosed(false);
    Form1 form;
    QElapsedTimer uhr;
    std::int64_t simStart = 0;

    Vorfuehrungshaken haken;
    haken.fenster = &form;
    haken.quelle = quelle;
    haken.gestartet = [&](SimulierteWelt& w) {
        form.anbinden(w.anwendung);
        form.show();
        uhr.start();
        simStart = w.zeit.monotonMs();
        // Whenever simulated time moves, the window catches up with it: the
        // clock is held back to `tempo` times real time and the window's
        // events run meanwhile (clicks included). A closed window stops the pacing.
        w.zeit.beimVorruecken([&](std::int64_t jetztMs) {
            const auto soll = static_cast<std::int64_t>(static_cast<double>(jetztMs - simStart) / tempo);
            while (!form.beendet()) {
                QApplication::processEvents();
                const std::int64_t rest = soll - uhr.elapsed();
                if (rest <= 0) break;
                QThread::msleep(static_cast<unsigned long>(std::min<std::int64_t>(rest, 15)));
            }
        });
    };
    haken.vorEnde = [&](SimulierteWelt& w) {
        while (!form.beendet()) w.zeit.laufen(100);
    };
    return vorfuehren(verzeichnis, aus, haken);
}

}  // namespace rufpilot
