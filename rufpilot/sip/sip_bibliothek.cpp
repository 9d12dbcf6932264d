#include "rufpilot/sip/sip_bibliothek.h"

#include <sofia-sip/sip_extra.h>
#include <sofia-sip/su.h>
#include <sofia-sip/su_log.h>

#include <cstdarg>
#include <cstdlib>
#include <mutex>

namespace rufpilot {

namespace {

void Stumm(void*, char const*, va_list) {}

}  // namespace

void SipBibliothekEinrichten() {
    static std::once_flag einmal;
    std::call_once(einmal, [] {
        su_init();
        // The transport layer reports every refused datagram on stderr;
        // what matters reaches the program as events.
        if (!std::getenv("SOFIA_DEBUG")) su_log_redirect(nullptr, &Stumm, nullptr);
        // P-Asserted-Identity and Privacy are only parsed with the extended header classes.
        sip_update_default_mclass(sip_extend_mclass(nullptr));
    });
}

}  // namespace rufpilot
