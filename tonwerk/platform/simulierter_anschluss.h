// A serial port in memory that records its line states, for tests and for
// hosts without a transmitter.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "tonwerk/platform/serieller_anschluss.h"

namespace tonwerk {

class SimulierterAnschluss : public SeriellerAnschluss {
public:
    // Ports that exist; opening any other one fails.
    std::set<int> vorhanden{1, 2, 3, 4};
    // When true, switching a line fails (a port that lost its device).
    bool leitungenDefekt = false;

    bool oeffnen(int port) override {
        if (offen_ || !vorhanden.count(port))
            return protokolliert("oeffnen " + std::to_string(port) + " fehlgeschlagen", false);
        offen_ = true;
        port_ = port;
        return protokolliert("oeffnen " + std::to_string(port), true);
    }
    void schliessen() override {
        if (offen_) protokolliert("schliessen " + std::to_string(port_), true);
        offen_ = false;
    }
    bool offen() const override { return offen_; }
    bool setzeDtr(bool an) override { return schalten("DTR", dtr_, an); }
    bool setzeRts(bool an) override { return schalten("RTS", rts_, an); }

    // The physical line: high only while the port is open and its switch is on.
    bool dtrHoch() const { return offen_ && dtr_; }
    bool rtsHoch() const { return offen_ && rts_; }
    // The port last opened (0 before the first open).
    int port() const { return port_; }
    const std::vector<std::string>& protokoll() const { return protokoll_; }

private:
    bool schalten(const char* name, bool& schalter, bool an) {
        if (leitungenDefekt) return protokolliert(std::string(name) + " fehlgeschlagen", false);
        schalter = an;
        return protokolliert(std::string(name) + (an ? " an" : " aus"), true);
    }
    bool protokolliert(std::string eintrag, bool ergebnis) {
        protokoll_.push_back(std::move(eintrag));
        return ergebnis;
    }

    bool offen_ = false;
    bool dtr_ = false;
    bool rts_ = false;
    int port_ = 0;
    std::vector<std::string> protokoll_;
};

}  // namespace tonwerk
