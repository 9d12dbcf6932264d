// tonwerk send fms: one FMS telegram through the control's FMSSenden.
#include <memory>
#include <string>

#include "befehle.h"
#include "sende_gruppe.h"
#include "sende_pruefung.h"

namespace tonwerk::werkzeug {

void sendeFmsBefehl(CLI::App& app) {
    struct Optionen {
        std::string kennung;
        Integer status = 0;
        Integer richtung = 0;
        Integer tki = 0;
        Integer baustufe = 0;
        std::string text;
        SendeZiel ziel;
    };
    auto o = std::make_shared<Optionen>();
    CLI::App* cmd = sendeGruppe(app)->add_subcommand("fms", "Ein FMS-Telegramm senden");
    cmd->add_option("--kennung", o->kennung, "FMS-Kennung, 8 Hexziffern (BOS, Land, Ort, Fahrzeug)")->required();
    cmd->add_option("--status", o->status, "Status 0 bis 15")->required();
    cmd->add_option("--richtung", o->richtung, "0 = Fahrzeug an Leitstelle (Standard), 1 = Leitstelle an Fahrzeug");
    cmd->add_option("--tki", o->tki, "Taktische Kurzinformation 0 bis 3");
    cmd->add_option("--baustufe", o->baustufe, "Baustufe 0 oder 1");
    cmd->add_option("--text", o->text, "Kurztext (nur Status 10 mit Richtung 1, bis 99 Zeichen)");
    sendeOptionen(cmd, o->ziel);
    cmd->callback([o] {
        sendenMit(
            o->ziel,
            [&](Funkwandler& fw) {
                return fw.FMSSenden(o->kennung, o->richtung, o->status, o->tki, o->baustufe, o->text, 0, 0);
            },
            [&](const Funkwandler& fw) {
                fmsKennungPruefen(o->kennung);
                bereichPruefen("--status", o->status, 0, 15);
                bereichPruefen("--richtung", o->richtung, 0, 1);
                bereichPruefen("--tki", o->tki, 0, 3);
                bereichPruefen("--baustufe", o->baustufe, 0, 1);
                fmsTextPruefen(o->text, o->status, o->richtung, o->tki, o->baustufe, fw.FMSKurztextTRBOS() != Falsch);
            });
    });
}

}  // namespace tonwerk::werkzeug
