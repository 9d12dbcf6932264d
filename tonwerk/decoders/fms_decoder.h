// FMS decoder (placeholder: reports nothing yet).
#pragma once

#include <functional>

#include "tonwerk/core/einstellungen.h"
#include "tonwerk/core/halbwelle.h"
#include "tonwerk/core/ratenkonstanten.h"
#include "tonwerk/core/records.h"

namespace tonwerk {

class FmsDecoder {
public:
    using Melder = std::function<void(FmsTlgType&)>;
    explicit FmsDecoder(Melder melden) : melden_(std::move(melden)) {}
    void laufPruefung(Integer /*kanal*/, Laeufe /*laeufe*/, const Einstellungen&, const Ratenkonstanten&) {}

private:
    Melder melden_;
};

}  // namespace tonwerk
