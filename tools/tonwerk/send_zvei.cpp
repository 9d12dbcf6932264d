// tonwerk send zvei NUMBER [--doppelt] [--zusatz N] [-o FILE.wav]
#include <memory>
#include <string>

#include "befehle.h"
#include "sende_gruppe.h"
#include "sende_pruefung.h"

namespace tonwerk::werkzeug {

void sendeZveiBefehl(CLI::App& app) {
    struct Optionen {
        std::string rufnummer;
        bool doppelt = false;
        Long zusatz = 0;
        SendeZiel ziel;
    };
    auto o = std::make_shared<Optionen>();
    CLI::App* cmd = sendeGruppe(app)->add_subcommand("zvei", "ZVEI-5-Tonfolge senden");
    cmd->add_option("rufnummer", o->rufnummer,
                    "Fünf Ziffern 0-9 (eine Ziffer gleich der vorigen geht als Wiederholton)")
        ->required();
    cmd->add_flag("--doppelt", o->doppelt, "Folge nach einer Pause ein zweites Mal senden");
    cmd->add_option("--zusatz", o->zusatz,
                    "Zusatzsignal: 0 keines, 1 2600-Hz-Impulse, 2-6 Doppeltöne 675 Hz mit 1240/1860/825/2280/1010 Hz");
    sendeOptionen(cmd, o->ziel);
    cmd->callback([o] {
        sendenMit(
            o->ziel,
            [&](Funkwandler& fw) { return fw.ZVEISenden(o->rufnummer, o->doppelt ? Wahr : Falsch, o->zusatz, 0, 0); },
            [&](const Funkwandler&) {
                zveiRufnummerPruefen(o->rufnummer);
                bereichPruefen("--zusatz", o->zusatz, 0, 6);
            });
    });
}

}  // namespace tonwerk::werkzeug
