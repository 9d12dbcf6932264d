// tonwerk send fms: one FMS telegram through the control's FMSSenden, written to a
// WAV file (-o) or played on the sound output.
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

struct FmsOptionen {
    std::string kennung;
    Integer status = 0;
    Integer richtung = 0;
    Integer tki = 0;
    Integer baustufe = 0;
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

void senden(const FmsOptionen& o) {
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
    fw.FMSSenden(o.kennung, o.richtung, o.status, o.tki, o.baustufe, o.text, 0, 0);
    if (!o.ausgabeDatei.empty()) std::cerr << "geschrieben: " << o.ausgabeDatei << '\n';
}

}  // namespace

void sendFmsBefehl(CLI::App& app) {
    auto o = std::make_shared<FmsOptionen>();
    CLI::App* cmd = sendeBefehl(app).add_subcommand("fms", "Ein FMS-Telegramm senden");
    cmd->add_option("--kennung", o->kennung, "FMS-Kennung, 8 Hexziffern (BOS, Land, Ort, Fahrzeug)")->required();
    cmd->add_option("--status", o->status, "Status 0 bis 15")->required();
    cmd->add_option("--richtung", o->richtung, "0 = Fahrzeug an Leitstelle (Standard), 1 = Leitstelle an Fahrzeug");
    cmd->add_option("--tki", o->tki, "Taktische Kurzinformation 0 bis 3");
    cmd->add_option("--baustufe", o->baustufe, "Baustufe 0 oder 1");
    cmd->add_option("--text", o->text, "Kurztext (nur Status 10 mit Richtung 1, bis 99 Zeichen)");
    cmd->add_option("-o,--output", o->ausgabeDatei, "In diese WAV-Datei schreiben statt abzuspielen");
    cmd->add_option("--set", o->setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->callback([o] { senden(*o); });
}

}  // namespace tonwerk::werkzeug
