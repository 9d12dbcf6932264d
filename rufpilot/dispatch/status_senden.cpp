// Sending one FMS status: key, lead time, telegram, acknowledgement, one repeat.
#include <exception>

#include "rufpilot/dispatch/rufvermittlung.h"
#include "rufpilot/dispatch/tastung.h"

namespace rufpilot {

bool Rufvermittlung::StatusSenden(const std::string& kennung, int status, int baustufe, int tki, int leitung) {
    const Einstellungen& e = t_.einstellungen;
    const Tastung tastung(leitungen_, e.comPort, leitung);
    try {
        rueckrufer_.Warten(e.fmsVorlaufMs, 0);
        MeldungSchreiben("Sende FMS " + kennung + "\t Status=" + std::to_string(status));
        auto senden = [&] {
            t_.funkwandler.FMSSenden(kennung, 0, static_cast<tonwerk::Integer>(status),
                                     static_cast<tonwerk::Integer>(tki), static_cast<tonwerk::Integer>(baustufe), "",
                                     0, 0);
        };
        senden();
        if (quittung_.QuittungAbwarten(kennung, 1)) return true;
        senden();
        return quittung_.QuittungAbwarten(kennung, 1);
    } catch (const std::exception& fehler) {
        // No sound output, no transmit file: nothing went on air, so nothing
        // can be acknowledged.
        MeldungSchreiben(std::string("Senden fehlgeschlagen:\t") + fehler.what());
        return false;
    }
}

}  // namespace rufpilot
