#include "sende_gruppe.h"

#include <filesystem>
#include <stdexcept>

#include "eigenschaften_setzen.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_eingang.h"
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
    cmd->add_option("--set", ziel.setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
}

void sendenMit(const SendeZiel& ziel, const std::function<Long(Funkwandler&)>& senden) {
    SimulierterEingang eingang;
    KeinAnschluss anschluss;
    HandZeitgeber timer1, timer2;
    SchrittUhr uhr;
    KeineAusgabe keineAusgabe;
    DateiAusgabe dateiAusgabe(ziel.datei);
    SoundAusgabe& ausgabe = ziel.datei.empty() ? static_cast<SoundAusgabe&>(keineAusgabe) : dateiAusgabe;
    Funkwandler fw(Plattform{eingang, ausgabe, anschluss, timer1, timer2, uhr});
    eigenschaftenSetzen(fw, ziel.setzen);
    const Long ergebnis = senden(fw);
    if (ergebnis != 0) throw std::runtime_error("Senden endete mit Ergebnis " + std::to_string(ergebnis));
}

}  // namespace tonwerk::werkzeug
