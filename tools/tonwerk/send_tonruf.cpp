// tonwerk send tonruf N [-o FILE.wav]
#include <memory>

#include "befehle.h"
#include "sende_gruppe.h"
#include "sende_pruefung.h"

namespace tonwerk::werkzeug {

void sendeTonrufBefehl(CLI::App& app) {
    struct Optionen {
        Long tonruf = 0;
        SendeZiel ziel;
    };
    auto o = std::make_shared<Optionen>();
    CLI::App* cmd = sendeGruppe(app)->add_subcommand("tonruf", "Tonruf senden");
    cmd->add_option("tonruf", o->tonruf,
                    "0 = Tonruf I kurz, 1 = Tonruf I lang, 2 = Tonruf II kurz, 3 = Tonruf II lang "
                    "(mit --roh: sonst 1000 Hz)")
        ->required();
    sendeOptionen(cmd, o->ziel);
    cmd->callback([o] {
        sendenMit(
            o->ziel, [&](Funkwandler& fw) { return fw.TonrufSenden(o->tonruf, 0, 0); },
            [&](const Funkwandler&) { bereichPruefen("tonruf", o->tonruf, 0, 3); });
    });
}

}  // namespace tonwerk::werkzeug
