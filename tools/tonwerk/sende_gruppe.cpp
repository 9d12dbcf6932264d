#include "sende_gruppe.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "eigenschaften_setzen.h"
#include "tonwerk/platform/alsa_ausgabe.h"
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

// A directory of its own for the transmit file while writing to -o, so that
// parallel runs do not share one test.wav; removed again afterwards.
class EigenesVerzeichnis {
public:
    EigenesVerzeichnis() {
        std::string muster = (std::filesystem::temp_directory_path() / "tonwerk-send-XXXXXX").string();
        if (!::mkdtemp(muster.data())) throw std::system_error(errno, std::generic_category(), muster);
        pfad_ = muster;
    }
    ~EigenesVerzeichnis() {
        std::error_code ec;
        std::filesystem::remove_all(pfad_, ec);
    }
    const std::filesystem::path& pfad() const { return pfad_; }

private:
    std::filesystem::path pfad_;
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
}

void sendenMit(const SendeZiel& ziel, const std::function<Long(Funkwandler&)>& senden) {
    SimulierterEingang eingang;
    KeinAnschluss anschluss;
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
    eigenschaftenSetzen(fw, ziel.setzen);
    const Long ergebnis = senden(fw);
    if (ergebnis != 0) throw std::runtime_error("Senden endete mit Ergebnis " + std::to_string(ergebnis));
}

}  // namespace tonwerk::werkzeug
