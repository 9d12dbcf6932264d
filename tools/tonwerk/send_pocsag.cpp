// tonwerk send pocsag --ric R [--funktion F] [--baud 512|1200] [--text T] [-o FILE.wav]
#include <memory>
#include <string>

#include "befehle.h"
#include "deutsch.h"
#include "sende_gruppe.h"
#include "sende_pruefung.h"

namespace tonwerk::werkzeug {

void sendePocsagBefehl(CLI::App& app) {
    struct Optionen {
        Long ric = 0;
        std::string funktion = "1";
        Long baud = 512;
        std::string text;
        SendeZiel ziel;
    };
    auto o = std::make_shared<Optionen>();
    CLI::App* cmd = sendeGruppe(app)->add_subcommand("pocsag", "POCSAG-Meldung senden");
    cmd->add_option("--ric", o->ric, "RIC des Empfängers, 0 bis 2097151")->required();
    cmd->add_option("--funktion", o->funktion,
                    "Funktion 1 bis 4 (A bis D) wie im Ereignis POCDecodierung, Standard 1; 0 wird abgelehnt (zählte "
                    "früher als A)");
    // The bit rate has no raw form: the library knows only these two.
    cmd->add_option("--baud", o->baud, "Bitrate 512 (Standard) oder 1200")->check(eineVon({"512", "1200"}));
    cmd->add_option("--text", o->text, "Meldungstext, bis 255 Zeichen");
    sendeOptionen(cmd, o->ziel);
    cmd->callback([o] {
        const Long bits = pocFunktionsbits(o->funktion, o->ziel.roh);
        sendenMit(
            o->ziel,
            [&](Funkwandler& fw) { return fw.POCSenden(o->baud == 512 ? 0 : 1, o->ric, bits, o->text, 0, 0); },
            [&](const Funkwandler&) {
                bereichPruefen("--ric", o->ric, 0, 2097151);
                pocTextPruefen(o->text);
            });
    });
}

}  // namespace tonwerk::werkzeug
