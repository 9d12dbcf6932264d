// Platform pieces for a control that runs without the hardware: no sound
// output and no serial port. Using them fails the way a missing device does.
#pragma once

#include <cerrno>
#include <system_error>

#include "tonwerk/platform/serieller_anschluss.h"
#include "tonwerk/platform/sound_ausgabe.h"

namespace tonwerk {

class KeineAusgabe : public SoundAusgabe {
public:
    void abspielen(const std::filesystem::path&) override {
        throw std::system_error(ENODEV, std::generic_category(), "keine Tonausgabe");
    }
};

class KeinAnschluss : public SeriellerAnschluss {
public:
    bool oeffnen(int) override { return false; }
    void schliessen() override {}
    bool offen() const override { return false; }
    bool setzeDtr(bool) override { return false; }
    bool setzeRts(bool) override { return false; }
};

}  // namespace tonwerk
