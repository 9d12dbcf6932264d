// The call-back after an acknowledged call, and the gateway's wait: 40 ms
// steps that let the window's events run, showing the call-back countdown
// when asked to.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "rufpilot/dispatch/ereignisschleife.h"
#include "rufpilot/dispatch/oberflaeche.h"
#include "rufpilot/dispatch/waehler.h"

namespace rufpilot {

class Rueckrufer {
public:
    Rueckrufer(Oberflaeche& oberflaeche, Ereignisschleife& schleife, Waehler& waehler,
               std::function<void(const std::string&)> meldung)
        : oberflaeche_(oberflaeche), schleife_(schleife), waehler_(waehler), meldung_(std::move(meldung)) {}

    // Waits in 40 ms steps, letting events run; anzeigen = 1 shows the countdown.
    void Warten(std::int32_t ms, int anzeigen);
    // "Wähle", the countdown of `sekunden`, then the dial.
    void Rueckruf(const std::string& nummer, const std::string& msn, int sekunden);

    // The number the countdown shows; set by the matcher, left alone by the
    // window's test button.
    const std::string& rueckrufnummer() const { return rueckrufnummer_; }
    void rueckrufnummer(const std::string& nummer) { rueckrufnummer_ = nummer; }

private:
    // Warten with the countdown's number fixed for the whole wait.
    void warten(std::int32_t ms, int anzeigen, const std::string& nummer);

    Oberflaeche& oberflaeche_;
    Ereignisschleife& schleife_;
    Waehler& waehler_;
    std::function<void(const std::string&)> meldung_;
    std::string rueckrufnummer_;
};

}  // namespace rufpilot
