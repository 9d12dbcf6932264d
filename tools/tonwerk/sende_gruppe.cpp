#include "sende_gruppe.h"

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "eigenes_verzeichnis.h"
#include "eigenschaften_setzen.h"
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
        std::filesystem::copy_file(wavDatei, ziel_, std::filesystem::copy_options::overwrite_existing);
    }

private:
    std::filesystem::path ziel_;
};

}  // namespace

CLI::App* sendeGruppe(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands([](CLI::App* a) { return a->get_name() == "send"; })) return sub;
    CLI::App* gruppe = app.add_subcommand("send", "Ein Signal als WAV-Datei erzeugen oder abspielen");
    gruppe->require_subcommand(1);
    return gruppe;
}

void sendeOptionen(CLI::App* cmd, SendeZiel& ziel) {
    cmd->add_option("-o,--output", ziel.datei, "WAV-Datei schreiben statt abzuspielen");
    cmd->add_option("--pcm", ziel.pcm, "ALSA-Ausgabe zum Abspielen")->capture_default_str();
    cmd->add_option("--set", ziel.setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->add_flag("--genau", ziel.genau, "Töne auf genauer Frequenz senden (kurz für --set GenaueFrequenzen=True)");
    cmd->add_option("--key", ziel.taste, "Sender für die Dauer der Sendung über diese Leitung tasten: dtr oder rts")
        ->check(CLI::IsMember({"dtr", "rts"}));
    cmd->add_option("--port", ziel.port, "Schnittstelle für --key: 1 bis 4 (COM1 bis COM4)")
        ->check(CLI::Range(1, 4))
        ->capture_default_str();
    cmd->add_option("--device", ziel.geraet, "Gerätedatei der Schnittstelle (Standard /dev/ttyS0 bis /dev/ttyS3)");
}

void sendenMit(const SendeZiel& ziel, const std::function<Long(Funkwandler&)>& senden) {
    SimulierterEingang eingang;
    TermiosAnschluss anschluss;
    if (!ziel.geraet.empty()) anschluss.geraetSetzen(ziel.port, ziel.geraet);
    HandZeitgeber timer1, timer2;
    SchrittUhr uhr;
    AlsaAusgabe alsaAusgabe(ziel.pcm);
    DateiAusgabe dateiAusgabe(ziel.datei);
    SoundAusgabe& ausgabe = ziel.datei.empty() ? static_cast<SoundAusgabe&>(alsaAusgabe) : dateiAusgabe;
    Funkwandler fw(Plattform{eingang, ausgabe, anschluss, timer1, timer2, uhr});
    std::unique_ptr<EigenesVerzeichnis> verzeichnis;
    if (!ziel.datei.empty()) {
        verzeichnis = std::make_unique<EigenesVerzeichnis>();
        fw.Sendeverzeichnis(verzeichnis->pfad());
    }
    if (ziel.genau) fw.GenaueFrequenzen(Wahr);
    eigenschaftenSetzen(fw, ziel.setzen);
    Long ergebnis = 0;
    if (ziel.taste.empty()) {
        ergebnis = senden(fw);
    } else {
        fw.FunkAnschluss(static_cast<Integer>(ziel.port));
        const std::string ort = "COM" + std::to_string(ziel.port) + " (" + anschluss.geraet(ziel.port).string() + ")";
        ergebnis = getastetSenden(fw, ziel.taste == "dtr" ? 1 : 2, ort, senden);
    }
    if (ergebnis != 0) throw std::runtime_error("Senden endete mit Ergebnis " + std::to_string(ergebnis));
}

}  // namespace tonwerk::werkzeug
