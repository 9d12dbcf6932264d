// The window on the simulated world: the real application core on simulated
// time, the main window as its surface, files in a fresh directory. Modal
// dialogs are answered from zero-time timers that fire once their loop runs.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <sstream>

#include "rufpilot/config/einstellungen_datei.h"
#include "rufpilot/config/logbuch.h"
#include "rufpilot/config/nummern_datei.h"
#include "rufpilot/demo/simulierte_welt.h"
#include "rufpilot/fenster/form1.h"

namespace rufpilot::test {

inline constexpr Ortszeit kStart{2026, 12, 8, 10, 0, 0, 0};

struct FensterWelt {
    QTemporaryDir tmp;
    std::filesystem::path pfad{tmp.path().toStdString()};
    std::ostringstream aus;
    Form1 form;
    std::unique_ptr<SimulierteWelt> w;

    // server.ini with `msns` (none when empty) and a one-entry number table.
    explicit FensterWelt(const std::string& msns = "4711;4712;;;;;;;;", bool ini = true) {
        if (ini) {
            Einstellungen e;
            e.msnListe = msns;
            einstellungenSchreiben(pfad / "server.ini", e);
        }
        nummernSchreiben(pfad / "fms_telefon_leitung.dat", {{"6A1B2345", "01711234567", "DTR"}});
        w = std::make_unique<SimulierteWelt>(pfad, aus, kStart, &form);
        form.anbinden(w->anwendung);
    }
    ~FensterWelt() {
        // The close sequence must not ask when the fixture goes.
        w->anwendung.beenden();
    }

    void starten() {
        w->anwendung.starten();
        w->zeit.laufen(1000);
    }
    // Message texts (without the time), newest first.
    QString meldung(int r) {
        const QString z = form.liste(Liste::Meldungen).zeile(r);
        return z.section(QLatin1Char('\t'), 1);
    }
};

// Runs `f` as soon as the next (modal) event loop turns.
inline void gleichDanach(std::function<void()> f) { QTimer::singleShot(0, qApp, std::move(f)); }

// Answers the active message box with `knopf`; returns its text.
inline QString antworten(QMessageBox::StandardButton knopf, QString* beschriftung = nullptr) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return QStringLiteral("<keine Meldung>");
    const QString text = box->text();
    if (QAbstractButton* b = box->button(knopf)) {
        if (beschriftung) *beschriftung = b->text();
        b->click();
    } else {
        box->close();
    }
    return text;
}

}  // namespace rufpilot::test
