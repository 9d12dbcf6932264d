// A serial port used only for its DTR and RTS handshake lines (transmitter keying).
#pragma once

namespace tonwerk {

class SeriellerAnschluss {
public:
    virtual ~SeriellerAnschluss() = default;
    // Opens COM`port` (1..4); false when the port cannot be opened.
    virtual bool oeffnen(int port) = 0;
    virtual void schliessen() = 0;
    virtual bool offen() const = 0;
    // false when the line could not be switched.
    virtual bool setzeDtr(bool an) = 0;
    virtual bool setzeRts(bool an) = 0;
};

}  // namespace tonwerk
