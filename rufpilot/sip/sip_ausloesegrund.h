// Why a SIP call ended, in the gateway's terms: from a CANCEL's Reason
// header, or from the final response to a call-back that was not answered.
#pragma once

#include <string_view>

#include "rufpilot/anrufe/ausloesung.h"

namespace rufpilot {

// A CANCEL's Reason header value (one or more, comma-separated, e.g.
// `SIP;cause=200;text="Call completed elsewhere"` or `Q.850;cause=16`). A
// Q.850 cause wins over a SIP one; without a usable Reason the caller hung up.
Ausloesung GrundAusReason(std::string_view reason);

// The end of a call-back that was never answered, from the final response
// (the usual SIP to Q.850 mapping); our own CANCEL ends it as RueckrufBeendet.
Ausloesung GrundAusStatus(int status);

}  // namespace rufpilot
