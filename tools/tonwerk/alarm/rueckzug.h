// The pause before the next attempt to reach a server that failed: 1, 2, 4 ...
// up to 30 s, and back to the start once it answered. MQTT and the webhook
// retry alike, so a station's network fault looks the same in both.
#pragma once

#include <algorithm>

namespace tonwerk::werkzeug {

class Rueckzug {
public:
    explicit Rueckzug(double ersteSek = 1, double hoechstSek = 30) : erste_(ersteSek), hoechst_(hoechstSek) {}

    // The pause to wait now; the next one is twice as long, up to the bound.
    double naechste() {
        const double p = pause_;
        pause_ = std::min(pause_ * 2, hoechst_);
        return p;
    }
    // After a success: the next failure waits the first pause again.
    void zuruecksetzen() { pause_ = erste_; }

private:
    double erste_;
    double hoechst_;
    double pause_ = erste_;
};

}  // namespace tonwerk::werkzeug
