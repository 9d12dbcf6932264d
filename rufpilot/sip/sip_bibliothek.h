// The SIP library's process-wide set-up, shared by every SIP agent in the
// process (the gateway's driver and the demo's router), done once.
#pragma once

namespace rufpilot {

void SipBibliothekEinrichten();

}  // namespace rufpilot
