// tonwerk record SECONDS FILE: records both input channels of a live device
// into a WAV file through the control's own recorder.
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "abbruchsignale.h"
#include "bedienfehler.h"
#include "befehle.h"
#include "deutsch.h"
#include "eigenschaften_setzen.h"
#include "live_kontrolle.h"
#include "live_schleife.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/alsa_eingang.h"
#include "tonwerk/platform/echtzeit.h"
#include "tonwerk/platform/ohne_hardware.h"

namespace tonwerk::werkzeug {

namespace {

struct RecordOptionen {
    Long sekunden = 0;
    std::string datei;
    Long karte = 0;
    int rate = 11025;
    std::vector<std::string> setzen;
};

struct Ende : FunkwandlerListener {
    bool erreicht = false;
    Long ueberlaeufe = 0;
    void WaveRecordEnd(Long&) override { erreicht = true; }
    void PufferUeberlauf(Long& n) override { ueberlaeufe = n; }
};

void aufnehmen(const RecordOptionen& o) {
    // The control would take a negative length as its default of 8 s.
    if (o.sekunden < 1) throw Bedienfehler("Aufnahmelänge " + std::to_string(o.sekunden) + " s: erlaubt sind 1 bis 32767 Sekunden");
    LiveKontrolle live(o.karte, o.rate, o.setzen);
    Funkwandler& fw = live.fw;
    AlsaEingang& eingang = live.eingang;
    Ende ende;
    fw.setListener(&ende);

    const Long ergebnis = fw.FunkAufzeichnen(o.sekunden, o.datei);
    if (ergebnis == 2) throw std::runtime_error("Aufnahmelänge 0: nichts aufzunehmen");
    if (!fw.aufnahme().AufnahmeAktiv()) throw std::runtime_error(o.datei + ": Datei kann nicht angelegt werden");

    std::string name;
    Long formate = 0;
    fw.GetSoundkarteInfo(o.karte, name, formate);
    Abbruchsignale signale;  // to the end, so that the file gets its header
    if (const Long start = fw.SoundStart(); start != 0) {
        fw.Soundstop();
        std::error_code ignoriert;
        std::filesystem::remove(o.datei, ignoriert);  // nothing was recorded into it
        throw std::runtime_error(startFehler(o.karte, eingang.pcmName(o.karte), start));
    }
    std::cerr << "Aufnahme von " << (name.empty() ? eingang.pcmName(o.karte) : name) << ", " << o.sekunden
              << " s nach " << o.datei << " (Strg+C beendet)\n";

    const bool abgebrochen = liveSchleife(live.timer1, live.timer2, [&ende] { return ende.erreicht; });
    const Long bloecke = fw.aufnahme().AufnahmeBloecke();
    // Ends a recording cut short without WaveRecordEnd; waits for the device.
    anhaltenMitHinweis(fw);
    std::cerr << (abgebrochen ? "Aufnahme abgebrochen: " : "Aufnahme beendet: ") << bloecke << " Puffer";
    if (ende.ueberlaeufe > 0) std::cerr << ", " << ende.ueberlaeufe << " Pufferüberläufe";
    std::cerr << '\n';
}

}  // namespace

void recordBefehl(CLI::App& app) {
    auto o = std::make_shared<RecordOptionen>();
    CLI::App* cmd = app.add_subcommand("record", "Beide Eingangskanäle einer Soundkarte als WAV-Datei aufnehmen");
    cmd->add_option("sekunden", o->sekunden, "Länge der Aufnahme in Sekunden (1 bis 32767)")->required();
    cmd->add_option("datei", o->datei, "WAV-Datei, die geschrieben wird")->required();
    cmd->add_option("--card", o->karte, "Nummer der Soundkarte (siehe tonwerk devices)")->capture_default_str();
    cmd->add_option("--rate", o->rate, "Abtastrate: 11025, 22050 oder 44100 Hz")->capture_default_str();
    cmd->add_option("--set", o->setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->callback([o] { aufnehmen(*o); });
}

}  // namespace tonwerk::werkzeug
