#include "empfangs_optionen.h"

#include "deutsch.h"

namespace tonwerk::werkzeug {

void empfangsOptionen(CLI::App* cmd, EmpfangsOptionen& o) {
    cmd->add_flag("--json", o.json, "Ein JSON-Objekt je Ereignis und Zeile");
    cmd->add_flag("--levels", o.pegel, "Auch Signalstärke je Puffer ausgeben");
    cmd->add_option("--set", o.setzen, "Eigenschaft vorher setzen: NAME=WERT (wiederholbar)");
    cmd->add_option("--baud", o.baud, "POCSAG nur mit dieser Bitrate lesen: 512 oder 1200 (Standard: beide)")
        ->check(eineVon({"512", "1200"}));
    cmd->add_flag("--filter", o.filter, "Empfangsfilter einschalten (Kurzform von --set Empfangsfilter=True)");
}

void filterUebernehmen(EmpfangsOptionen& o) {
    if (o.filter) o.setzen.insert(o.setzen.begin(), "Empfangsfilter=True");
}

}  // namespace tonwerk::werkzeug
