#include "alarm/home_assistant_ausgang.h"

namespace tonwerk::werkzeug {

HomeAssistantAusgang::HomeAssistantAusgang(HomeAssistant ha, MqttWeiterleitung& mqtt)
    : ha_(std::move(ha)), mqtt_(mqtt) {
    for (const auto& k : ha_.konfigurationen()) mqtt_.senden(k.thema, k.nutzlast, k.behalten);
}

void HomeAssistantAusgang::melden(const Meldung& m) {
    for (const auto& z : ha_.zustaende(m.art, m.nachricht)) mqtt_.senden(z.thema, z.nutzlast, z.behalten);
}

}  // namespace tonwerk::werkzeug
