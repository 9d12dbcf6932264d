#include "sende_gruppe.h"

#include <alsa/asoundlib.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "abbruchsignale.h"
#include "bedienfehler.h"
#include "deutsch.h"
#include "eigenes_verzeichnis.h"
#include "eigenschaften_setzen.h"
#include "systemfehler.h"
#include "tonwerk/core/getastete_leitung.h"
#include "tonwerk/platform/alsa_ausgabe.h"
#include "tonwerk/platform/simulierter_eingang.h"
#include "tonwerk/platform/termios_anschluss.h"
#include "tonwerk/platform/zeitgeber.h"

namespace tonwerk::werkzeug {

namespace {

// "Plays" a transmit file by copying it to the chosen path.
class DateiAusgabe : public SoundAusgabe {
public:
    explicit DateiAusgabe(std::filesystem::path ziel) : ziel_(std::move(ziel)) {}
    void abspielen(const std::filesystem::path& wavDatei) override {
        std::error_code fehler;
        std::filesystem::copy_file(wavDatei, ziel_, std::filesystem::copy_options::overwrite_existing, fehler);
        if (fehler) throw std::runtime_error(ziel_.string() + ": " + systemFehlerText(fehler.value()));
    }

private:
    std::filesystem::path ziel_;
};

// The output file can be written: its folder exists and takes files, and it is
// no folder itself. Checked before anything is sent.
void zielPruefen(const std::string& datei) {
    namespace fs = std::filesystem;
    const fs::path ziel(datei);
    std::error_code ignoriert;
    if (fs::is_directory(ziel, ignoriert)) throw Bedienfehler("-o " + datei + ": " + systemFehlerText(EISDIR));
    const fs::path ordner = ziel.parent_path().empty() ? fs::path(".") : ziel.parent_path();
    if (!fs::is_directory(ordner, ignoriert))
        throw Bedienfehler("-o " + datei + ": Verzeichnis " + ordner.string() + " " + systemFehlerText(ENOENT));
    if (::access(ordner.c_str(), W_OK) != 0 || (fs::exists(ziel, ignoriert) && ::access(ziel.c_str(), W_OK) != 0))
        throw Bedienfehler("-o " + datei + ": " + systemFehlerText(EACCES));
}

// The ALSA output opens; its error is said once, before a line is keyed.
void ausgabePruefen(const std::string& pcm) {
    snd_pcm_t* handle = nullptr;
    const int fehler = snd_pcm_open(&handle, pcm.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (fehler < 0)
        throw std::runtime_error("Ausgabegerät " + pcm + ": " + systemFehlerText(fehler) + " (siehe aplay -L)");
    snd_pcm_close(handle);
}

}  // namespace

CLI::App* sendeGruppe(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands([](CLI::App* a) { return a->get_name() == "send"; })) return sub;
    CLI::App* gruppe = app.add_subcommand("send", "Ein Signal als WAV-Datei erzeugen oder abspielen");
    gruppe->require_subcommand(1);
    return gruppe;
}

void sendeOptionen(CLI::App* cmd, SendeZiel& ziel) {
    cmd->add_option("-o,--output", ziel.datei, "WAV-Datei schreiben statt abzuspielen (tastet nie)");
    cmd->add_option("--pcm", ziel.pcm, "ALSA-Ausgabe zum Abspielen")->capture_default_str();
    cmd->add_option("--set", ziel.setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->add_flag("--klassisch", ziel.klassisch,
                  "Byte für Byte wie die klassische Kontrolle senden: Phasenschritte in ganzen Grad, POCSAG-Läufe "
                  "einzeln gerundet (kurz für --set GenaueFrequenzen=False; ohne: genaue Frequenzen und genauer "
                  "POCSAG-Bittakt)");
    cmd->add_flag("--genau", ziel.genau, "Genau senden (Standard; kurz für --set GenaueFrequenzen=True)");
    cmd->get_option("--genau")->excludes(cmd->get_option("--klassisch"));
    cmd->add_option("--key", ziel.taste, "Sender für die Dauer der Sendung über diese Leitung tasten: dtr oder rts")
        ->check(eineVon({"dtr", "rts"}));
    cmd->add_option("--port", ziel.port, "Schnittstelle für --key: 1 bis 4 (COM1 bis COM4)")
        ->check(zahlVon(1, 4))
        ->capture_default_str();
    cmd->add_option("--device", ziel.geraet, "Gerätedatei der Schnittstelle (Standard /dev/ttyS0 bis /dev/ttyS3)");
    cmd->add_flag("--roh", ziel.roh,
                  "Werte ungeprüft an die Bibliothek geben (zum Testen von Empfängern; sie codiert dann selbst um)");
}

void sendenMit(const SendeZiel& ziel, const std::function<Long(Funkwandler&)>& senden,
               const std::function<void(const Funkwandler&)>& pruefen) {
    SimulierterEingang eingang;
    TermiosAnschluss anschluss;
    if (!ziel.geraet.empty()) anschluss.geraetSetzen(ziel.port, ziel.geraet);
    HandZeitgeber timer1, timer2;
    SchrittUhr uhr;
    AlsaAusgabe alsaAusgabe(ziel.pcm);
    DateiAusgabe dateiAusgabe(ziel.datei);
    SoundAusgabe& ausgabe = ziel.datei.empty() ? static_cast<SoundAusgabe&>(alsaAusgabe) : dateiAusgabe;
    Funkwandler fw(Plattform{eingang, ausgabe, anschluss, timer1, timer2, uhr});
    // The tool sends exactly unless told otherwise: its users test real pagers
    // and receivers, and a strict receiver misses what the classic rounding sends.
    fw.GenaueFrequenzen(ziel.klassisch ? Falsch : Wahr);
    eigenschaftenSetzen(fw, ziel.setzen);
    if (pruefen && !ziel.roh) pruefen(fw);
    std::unique_ptr<EigenesVerzeichnis> verzeichnis;
    if (!ziel.datei.empty()) {
        zielPruefen(ziel.datei);
        verzeichnis = std::make_unique<EigenesVerzeichnis>();
        fw.Sendeverzeichnis(verzeichnis->pfad());
    } else {
        ausgabePruefen(ziel.pcm);
    }
    Long ergebnis = 0;
    if (ziel.taste.empty() || !ziel.datei.empty()) {
        if (!ziel.taste.empty()) std::cerr << "Hinweis: mit -o wird nicht getastet\n";
        ergebnis = senden(fw);
    } else {
        fw.FunkAnschluss(static_cast<Integer>(ziel.port));
        const std::string geraet = anschluss.geraet(ziel.port).string();
        const std::string ort = "COM" + std::to_string(ziel.port) + " (" + geraet + ")";
        Abbruchsignale signale;
        bool getastet = false;
        try {
            ergebnis = getastetSenden(fw, ziel.taste == "dtr" ? 1 : 2, ort, [&](Funkwandler& f) {
                getastet = true;
                return senden(f);
            });
        } catch (const std::runtime_error& e) {
            // The guard cannot tell a missing port from a busy or forbidden one.
            if (!getastet) throw std::runtime_error(ort + ": " + anschlussGrund(geraet));
            // An output the signal cut short is no fault of its own.
            if (const int signal = Abbruchsignale::empfangen()) {
                std::cerr << "Abbruch während der Sendung (" << e.what() << "), die Leitung ist freigegeben\n";
                throw Abgebrochen{signal};
            }
            throw;
        }
        if (const int signal = Abbruchsignale::empfangen()) {
            std::cerr << "Abbruch: die Sendung lief zu Ende, die Leitung ist freigegeben\n";
            throw Abgebrochen{signal};
        }
    }
    if (ergebnis != 0) throw std::runtime_error("Senden endete mit Ergebnis " + std::to_string(ergebnis));
}

}  // namespace tonwerk::werkzeug
