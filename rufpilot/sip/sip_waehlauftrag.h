// The call-back as the call monitor puts it: a CONNECT_REQ whose called
// number is cut or padded with '0' to 12 digits and whose MSN is padded with
// blanks. A SIP call needs the real number, so the padded field is matched
// against the callers seen lately.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>

namespace rufpilot {

struct Waehlauftrag {
    std::string nummer;  // the called party digits as they stand in the message
    std::string msn;     // the calling party digits, trailing blanks removed
};

// Reads the two number structs after the CIP value; a cut message gives
// shorter texts, never a read past its bytes.
Waehlauftrag WaehlauftragLesen(std::span<const std::uint8_t> connectReq);

// Numbers seen lately (callers, or dialled MSNs), newest last, at most a few,
// to undo the cutting and padding of a CAPI number field of `breite`
// characters filled with `fuellung`.
class Nummernliste {
public:
    Nummernliste(std::size_t breite, char fuellung) : breite_(breite), fuellung_(fuellung) {}
    void merken(const std::string& nummer);
    // The remembered number that the padded or cut field stands for (for
    // callers also in the form with the "0" the monitor puts before a
    // national number); otherwise the field as it is.
    std::string aufloesen(const std::string& feld) const;

private:
    std::string gefuellt(std::string nummer) const;

    static constexpr std::size_t kHoechstens = 32;
    std::size_t breite_;
    char fuellung_;
    std::deque<std::string> nummern_;
};

// The called number of a CONNECT_REQ: 12 digits filled with '0'.
inline Nummernliste Anruferliste() { return Nummernliste(12, '0'); }
// The calling MSN: 8 characters filled with blanks.
inline Nummernliste MsnListe() { return Nummernliste(8, ' '); }

}  // namespace rufpilot
