// Serial port on Linux, used only for its DTR and RTS lines: termios device,
// lines switched one at a time with TIOCMBIS/TIOCMBIC, never a byte sent.
#pragma once

#include <array>
#include <filesystem>

#include "tonwerk/platform/serieller_anschluss.h"

namespace tonwerk {

class TermiosAnschluss : public SeriellerAnschluss {
public:
    TermiosAnschluss();
    ~TermiosAnschluss() override;
    TermiosAnschluss(const TermiosAnschluss&) = delete;
    TermiosAnschluss& operator=(const TermiosAnschluss&) = delete;

    // COM1..COM4 map to /dev/ttyS0../dev/ttyS3 until the host maps them
    // elsewhere (a USB adapter is /dev/ttyUSB0 or /dev/ttyACM0).
    void geraetSetzen(int port, std::filesystem::path geraet);
    std::filesystem::path geraet(int port) const;

    // Fails when the device is missing, not a serial line with modem control,
    // or held by another program.
    bool oeffnen(int port) override;
    void schliessen() override;
    bool offen() const override { return fd_ >= 0; }
    // While closed a switch is only stored; opening applies the stored switches.
    bool setzeDtr(bool an) override;
    bool setzeRts(bool an) override;

private:
    bool leitung(int bit, bool an);

    std::array<std::filesystem::path, 4> geraete_;
    int fd_ = -1;
    bool dtr_ = false;
    bool rts_ = false;
};

}  // namespace tonwerk
