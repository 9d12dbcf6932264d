// tonwerk send pocsag: one pager message through the control's POCSenden, written
// to a WAV file (-o) or played on the sound output.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "befehle.h"
#include "eigenschaften_setzen.h"
#include "tonwerk/core/funkwandler.h"
#include "tonwerk/platform/ohne_hardware.h"
#include "tonwerk/platform/simulierter_eingang.h"

namespace tonwerk::werkzeug {

namespace {

struct PocOptionen {
    Long ric = 0;
    Long funktion = 0;
    Long baud = 512;
    std::string text;
    std::string ausgabeDatei;
    std::vector<std::string> setzen;
};

// Instead of playing, keeps the transmit file under the name the user chose.
class DateiAusgabe : public SoundAusgabe {
public:
    explicit DateiAusgabe(std::filesystem::path ziel) : ziel_(std::move(ziel)) {}
    void abspielen(const std::filesystem::path& wavDatei) override {
        std::filesystem::copy_file(wavDatei, ziel_, std::filesystem::copy_options::overwrite_existing);
    }

private:
    std::filesystem::path ziel_;
};

void senden(const PocOptionen& o) {
    std::unique_ptr<SoundAusgabe> ausgabe;
    if (o.ausgabeDatei.empty()) {
        ausgabe = tonausgabe();
    } else {
        ausgabe = std::make_unique<DateiAusgabe>(o.ausgabeDatei);
    }
    SimulierterEingang eingang;
    KeinAnschluss anschluss;
    HandZeitgeber timer1, timer2;
    SchrittUhr uhr;
    Funkwandler fw(Plattform{eingang, *ausgabe, anschluss, timer1, timer2, uhr});
    eigenschaftenSetzen(fw, o.setzen);
    fw.POCSenden(o.baud == 512 ? 0 : 1, o.ric, o.funktion, o.text, 0, 0);
    if (!o.ausgabeDatei.empty()) std::cerr << "geschrieben: " << o.ausgabeDatei << '\n';
}

}  // namespace

void sendPocsagBefehl(CLI::App& app) {
    auto o = std::make_shared<PocOptionen>();
    CLI::App* cmd = sendeBefehl(app).add_subcommand("pocsag", "Eine POCSAG-Meldung senden");
    cmd->add_option("--ric", o->ric, "RIC des Empfängers, 0 bis 2097151")->required()->check(CLI::Range(0, 2097151));
    cmd->add_option("--funktion", o->funktion, "Funktionsbits 0 bis 3 (Standard 0)")->check(CLI::Range(0, 3));
    cmd->add_option("--baud", o->baud, "Bitrate 512 (Standard) oder 1200")->check(CLI::IsMember({512, 1200}));
    cmd->add_option("--text", o->text, "Meldungstext, bis 255 Zeichen");
    cmd->add_option("-o,--output", o->ausgabeDatei, "In diese WAV-Datei schreiben statt abzuspielen");
    cmd->add_option("--set", o->setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->callback([o] { senden(*o); });
}

}  // namespace tonwerk::werkzeug
