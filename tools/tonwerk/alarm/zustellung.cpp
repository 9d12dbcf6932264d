#include "alarm/zustellung.h"

namespace tonwerk::werkzeug {

void zustellBericht(std::ostream& aus, const std::string& ausgang, const Zustellzahlen& z) {
    aus << ausgang << ": " << z.zugestellt << " von " << z.angenommen << " Meldungen zugestellt";
    if (z.verworfen > 0) aus << ", " << z.verworfen << " verworfen";
    if (z.abgewiesen > 0) aus << ", " << z.abgewiesen << " abgewiesen";
    aus << '\n';
}

}  // namespace tonwerk::werkzeug
