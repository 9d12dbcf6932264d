// tonwerk record SECONDS FILE: records both input channels of a live device
// into a WAV file through the control's own recorder.
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "befehle.h"
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
    Long geraet = 0;
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
    LiveKontrolle live(o.geraet, o.rate, o.setzen);
    Funkwandler& fw = live.fw;
    AlsaEingang& eingang = live.eingang;
    Ende ende;
    fw.setListener(&ende);

    const Long ergebnis = fw.FunkAufzeichnen(o.sekunden, o.datei);
    if (ergebnis == 2) throw std::runtime_error("Aufnahmelänge 0: nichts aufzunehmen");
    if (!fw.aufnahme().AufnahmeAktiv()) throw std::runtime_error(o.datei + ": Datei kann nicht angelegt werden");

    std::string name;
    Long formate = 0;
    fw.GetSoundkarteInfo(o.geraet, name, formate);
    if (const Long start = fw.SoundStart(); start != 0) {
        fw.Soundstop();
        std::error_code ignoriert;
        std::filesystem::remove(o.datei, ignoriert);  // nothing was recorded into it
        // The ALSA layer reports negative system error numbers.
        const std::string grund = start < 0 ? std::string(std::strerror(-start)) + ", " : std::string();
        throw std::runtime_error("Soundkarte " + std::to_string(o.geraet) + " startet nicht (" + grund + "Fehler " +
                                 std::to_string(start) + ")");
    }
    std::cerr << "Aufnahme von " << (name.empty() ? eingang.pcmName(o.geraet) : name) << ", " << o.sekunden
              << " s nach " << o.datei << " (Strg+C beendet)\n";

    const bool abgebrochen = liveSchleife(live.timer1, live.timer2, [&ende] { return ende.erreicht; });
    const Long bloecke = fw.aufnahme().AufnahmeBloecke();
    // Ends a recording cut short without WaveRecordEnd; waits for the device.
    fw.Soundstop();
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
    cmd->add_option("--device", o->geraet, "Nummer der Soundkarte (siehe tonwerk devices), Standard 0");
    cmd->add_option("--rate", o->rate, "Abtastrate: 11025, 22050 oder 44100 Hz");
    cmd->add_option("--set", o->setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->callback([o] { aufnehmen(*o); });
}

}  // namespace tonwerk::werkzeug
